// English texts of the setting file, the data check, the CSV export and the
// verification with a file.
#include "string_table_data.h"

namespace axcfg {

namespace {

const platform::StringEntry kTexts[] = {
    // Setting file.
    {29001, "No data is specified to save."},
    {29002, "The file cannot be saved as the working memory area is not available."},
    {29003, "This type of file cannot be read."},
    {29004, "An error occurred in reading the file.\nThe file may be damaged."},
    {29005, "An error occurred in reading the file.\nThe file may not be correctly specified or may be damaged."},
    {29006,
     "An error occurred in reading the file.\nThe file format is not supported with this version of the "
     "software.\nThe new version is necessary to read the file."},
    {29007, "An error occurred in reading the file.\nThere may be no data to read or the file may be damaged."},
    {29008, "The file cannot be open as the working memory area for reading the file is not available."},
    {29009, "As the version of the data is different, it cannot be read with this software."},
    {29010,
     "As the old version of the file was opened, a part of the setting was initialized.\r\nPresent file name %s "},
    {29061, "(after conversion).axc"},
    {29099, "The file %s cannot be accessed.\n%s"},

    // Verify with a file.
    {29021, "Agree"},
    {29022, "Disagree"},
    {29023, "The file to be verified cannot be open."},
    {29025, "Choose the verify file"},

    // CSV export.
    {29051, "Input the file name for CSV export as the output file name."},
    {29052, "Improper characters are included in the exported file name.\nInput the output file name again."},
    {29053, "You cannot specify the file name expressed with space characters only.\nInput the output file name again."},
    {29054, "The exported file name or the folder name of the destination is too long.\nShorten either name."},
    {29055,
     "The following type of exported file already exists, and it is protected not to be overwritten.\nSpecify a "
     "different file name."},
    {29056, "The following type of exported file already exists.\nIs it OK to overwrite it?"},
    {29057, "The exported file of parameter setting data cannot be open."},
    {29058, "The exported file of positioning setting data  %s  cannot be open."},
    {29059, "Positioning setting data : %s"},
    {29060, "Parameter setting data"},
    {23078, "Synchronous goup"},
    {23079, "Synchronous mode"},
    {23081, "/ Master"},
    {23082, "/ Slave"},
    {20718, "--------"},

    // Data check.
    {30109, "There was no error."},
    {30223, "An error was found in the following. : \r\nTable No. ddd: sss"},

    // Synchronous group rules of the group dialog.
    {21511, "The input value is out of the allowable range.\n(Setting range 1 - 32767)"},
    {21512, "The axis No. specified for the synchronous group is incorrect."},
    {21513, "The setting for the synchronous group \"%d\" is incorrect."},
    {21514, "The same axis is used for some synchronous groups."},
    {21515, "The setting for the slave axis of the synchronous group\"%d\" is incorrect."},
    {21518,
     "The home return method for the synchronous group is incorrect. \nThe method has been changed as below.\n"},
    {21519, "\nSynchronous group%d   %s -> %s   "},
};

}  // namespace

const platform::StringEntry* FileStrings(size_t& count) {
  count = sizeof(kTexts) / sizeof(kTexts[0]);
  return kTexts;
}

}  // namespace axcfg
