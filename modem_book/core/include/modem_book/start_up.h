#pragma once
// How the program starts: the command line's window to raise and calling
// product code, the language and product number that follow from them, the
// language table and the help pages to use, and the English font size.
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace modembook {

struct StartArguments {
  std::optional<long long> raiseWindow;  // "-h<digits>"
  std::optional<int> productCode;        // "-<digits>"
  std::vector<std::string> rest;         // everything else, in order
};

StartArguments ParseStartArguments(const std::vector<std::string>& args);

// The registry key (below HKEY_LOCAL_MACHINE) whose "Language" value holds the
// calling product's language; empty for a code without one.
std::string ProductLanguageKey(int productCode);
// "Japanese" 0 ... "Thai" 9; anything else English (1).
int LanguageFromName(const std::string& name);
// A code whose remainder by 1000 is 10..19 names the language itself;
// otherwise the product's registry value decides. No code reads the value of
// the product with code 0.
int LanguageOfProduct(std::optional<int> productCode);
// (code / 1000) * 100 + 10 with a code, else 10.
int ProductNumber(std::optional<int> productCode);

// The language tables to try, in order: the language with the OEM number
// (product number / 100, three digits) when there is one, then the system's
// language without it, then English.
std::vector<std::string> LanguageTableNames(int language, int productNumber, int systemLanguage);

// Loads the first table of the list from the library's resource folder and
// puts it in force (texts it lacks come from the built-in English table).
// When none loads, the built-in English texts stay and `missing` names the
// last table tried.
bool LoadLanguageTable(int language, int productNumber, std::string& missing);

// The help pages: "TAVTL<LANG>[OEM]" in the help folder beside the resource
// folder, else "TAVTLENG" in the common folder's "English".
std::string HelpFolderFor(int language, int productNumber);

// Size of the English dialog font in tenths of a point: 720 / the dialog
// font's average character width (90 when that width is unknown).
int EnglishFontTenths(int averageCharWidth);

}  // namespace modembook
