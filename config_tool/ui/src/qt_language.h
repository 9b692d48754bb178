#pragma once
// Qt's own texts (the standard file, print and font dialogs, their buttons,
// message-box buttons) follow the program's language, from Qt's translation
// catalogue where it is installed.
namespace axcfgui {

// 1 (Japanese) installs Qt's Japanese catalogue, any other language removes
// it again; false when the catalogue is not installed.
bool InstallQtTranslations(int language);

}  // namespace axcfgui
