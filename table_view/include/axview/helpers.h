#pragma once
// AxView's exported helper functions: tab-separated line texts, clipboard
// text, integers under the application's registry key, the user-interface
// language, and messages from the library's own string table. Functions whose
// parameters are plain C types have C linkage and their plain names.
#include <memory>
#include <string>

#include "axview/win_types.h"

namespace platform {
class StringTable;
}

using HINSTANCE = void*;

// ---- Tab-separated line texts ------------------------------------------
// A line's fields are separated by TAB; the line ends at its first CR or LF,
// and what follows is not part of any field. The field count is the number of
// TABs before that end plus one (an empty text has one empty field).
extern "C" {

// Replaces every TAB, CR and LF of text by a NUL and returns the number of
// TABs + 1, so that the fields can be walked by stepping over each NUL.
// 0 for a null text.
AXVIEW_API int DivideString(char* text);

// Copies fields first..last of text into out. With 0 <= last <= first only the
// field first is copied, bare (result 1); otherwise (last > first, or last < 0
// for "up to the last field") the fields joined by single TABs followed by
// CR LF, and the result is the number of fields copied. -1 when an argument is
// null, first < 0, or first or last is not below the field count.
// out must hold strlen(text) + 3 bytes.
AXVIEW_API int GetPartsOfTabSeparatedString(const char* text, char* out, int first, int last);

// Replaces the fields of line from field first on with the fields of parts,
// never beyond line's last field (the line keeps its field count), and leaves
// line as its fields joined by single TABs followed by CR LF. Result: the
// number of fields replaced; -1 when an argument is null or first < 0.
// line must hold strlen(line) + strlen(parts) + 3 bytes.
AXVIEW_API int SetPartsOfTabSeparatedString(char* line, const char* parts, int first);

// Inserts the digits of insert (and one '.', when number has none yet) into
// the number text at byte offset caret, keeping a leading '-' in front and at
// most maxDigits digits in all (100 when maxDigits <= 0). number is a buffer of
// bufferSize bytes; nothing is written past it. Returns a pointer just after
// the last character inserted, or null for a bad argument.
AXVIEW_API char* InsertNumString(char* number, const char* insert, int maxDigits, int caret, int bufferSize);

// Finds the first occurrence of pattern in text: *start is its byte offset and
// *end the offset of its last byte; both -1 when there is none, when an
// argument is null, or when the pattern is empty or longer than the text.
// Flag 0x1 compares without regard to (ASCII) case.
AXVIEW_API void SearchPartialString(const char* text, const char* pattern, BYTE flags, int* start, int* end);

// ---- System font -----------------------------------------------------------
// Fills font with the system's caption font at normal weight (400) and returns
// the height of a menu bar in pixels.
AXVIEW_API int GetSystemLogFont(LOGFONT* font);

// ---- Registry under the application's key ----------------------------------
// Integers under HKEY_CURRENT_USER\Software\<application key>\<section>.
AXVIEW_API BOOL KELDExWriteProfileInt(const char* section, const char* entry, int value);
AXVIEW_API int KELDExReadProfileInt(const char* section, const char* entry, int defaultValue);

// ---- Language ---------------------------------------------------------------
// "Language" under HKEY_LOCAL_MACHINE\Software\<application key>: 0 English,
// 1 Japanese, 2 Chinese, -1 missing or unknown.
AXVIEW_API int GetLanguageRegistry(void);
// Writes "Japanese" for 1 and "English" for any other value.
AXVIEW_API void SetLanguageRegistry(int language);
// Walks the installed languages ("LangMax", "Lang1", "Lang2", ...). countOnly
// gives LangMax (-1 when missing). Otherwise a cursor of 0xFFFFFFFF starts a
// walk; each call gives the next language (0 English, 1 Japanese, -1 unknown
// or missing) and advances the cursor (low 16 bits: next index, high 16 bits:
// count), which is 0xFFFFFFFF again after the last entry.
AXVIEW_API int GetLanguageListRegistry(DWORD* cursor, BOOL countOnly);
AXVIEW_API BOOL IsLanguageListRegistry(int language);
// Sets the library's language (0 English, 1 Japanese) and returns it.
AXVIEW_API int KELDExSetLanguage(int language);
AXVIEW_API int KELDExGetLanguage(void);

// ---- Library messages ---------------------------------------------------------
// Shows string id of the library's table in its current language; -1 (and no
// box) when that text is empty. Boxes of OK, OK/Cancel, Yes/No/Cancel or
// Yes/No without an icon get the exclamation icon; an empty caption becomes the
// application's name.
AXVIEW_API int KELDExMessageBox(UINT id, UINT type, const char* caption);

// The library's own module handle.
AXVIEW_API HINSTANCE GetDLLModuleHandle(void);
// The program's module handle: its resources are the application's.
AXVIEW_API HINSTANCE GetAppModuleHandle(void);

}  // extern "C"

// "Software\<application key>\" when the application's key can be named
// (path empty otherwise); non-zero when that key exists under HKEY_CURRENT_USER.
AXVIEW_API int CanOpenRegistory(std::string& path);

// Clipboard text (UTF-8). Get: 1 when the text is not empty. Set: 1 on success.
AXVIEW_API BOOL GetClipboardText(HWND owner, std::string& text);
AXVIEW_API BOOL SetClipboardText(HWND owner, std::string& text);

// String id of the library's table in the library's language; empty when that
// language's table cannot be put in force.
AXVIEW_API void GetKELDExDLLString(UINT id, std::string& text);

// ---- The application, in place of an application object -------------------
// Registry key name below "Software" (e.g. "KELD\Axis Configurator"), name for
// message captions, and the string module holding the application's texts.
AXVIEW_API void SetAppRegistryKey(const std::string& key);
AXVIEW_API std::string GetAppRegistryKey();
AXVIEW_API void SetAppName(const std::string& name);
AXVIEW_API std::string GetAppName();
AXVIEW_API void SetAppStringModule(const std::string& module);

// ---- Resources in force -------------------------------------------------------
// Texts looked up "from the current resources" come from the module in force:
// the application's (GetAppModuleHandle), the library's English table
// (GetDLLModuleHandle) or the library's language table (another handle).
AXVIEW_API HINSTANCE GetResourceHandleInForce();
AXVIEW_API bool LibraryResourcesInForce();
AXVIEW_API std::string LoadResourceString(UINT id);

// Puts the application's resources in force for its lifetime when the
// library's are in force (for calls into the owner's code).
class AXVIEW_API CSwitchAppRes {
 public:
  CSwitchAppRes();
  ~CSwitchAppRes();
  CSwitchAppRes(const CSwitchAppRes&) = delete;
  CSwitchAppRes& operator=(const CSwitchAppRes&) = delete;

 private:
  HINSTANCE m_saved = nullptr;
  int m_switched = 0;
};

// Puts the library's string table of a language in force until destroyed or
// restored: 1 the Japanese table (lang/AxView.jpn.txt), any other value the
// built-in English table.
class AXVIEW_API CSwitchResource {
 public:
  CSwitchResource();
  ~CSwitchResource();
  CSwitchResource(const CSwitchResource&) = delete;
  CSwitchResource& operator=(const CSwitchResource&) = delete;

  // 1 when the language's table was put in force; 0 (nothing changed) when it
  // cannot be had.
  int Switch(int language);
  void Restore();
  int Language() const { return m_language; }

 private:
  int m_active = 1;
  HINSTANCE m_module = nullptr;
  HINSTANCE m_saved = nullptr;
  std::shared_ptr<const platform::StringTable> m_savedTable;
  int m_switched = 0;
  int m_language = -1;
};
