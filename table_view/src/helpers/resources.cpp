// The application's identity, the library language, the resource module in
// force and the guards that switch it, and the library's messages.
#include <dlfcn.h>

#include <QApplication>
#include <QWidget>
#include <map>

#include "axview/helpers.h"
#include "library_strings.h"
#include "platform/message_box.h"
#include "platform/strings.h"

namespace {

struct AppInfo {
  std::string registryKey;
  std::string name;
  std::string stringModule;
};
AppInfo& App() {
  static AppInfo info;
  return info;
}

int g_language = 1;  // the library starts in Japanese, as its callers expect
HINSTANCE g_resourceInForce = nullptr;  // null: the application's

// The module of the library itself, found from one of its own functions.
HINSTANCE ModuleOf(const void* address) {
  Dl_info info{};
  if (!dladdr(address, &info) || !info.dli_fname) return nullptr;
  void* handle = dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD);
  if (handle) dlclose(handle);  // the library stays loaded; keep only its handle value
  return handle;
}

// Language tables are read once per file and kept, as a loaded resource
// library would stay mapped; a missing file is looked for again next time.
std::shared_ptr<const platform::StringTable> LanguageTable(const std::string& suffix) {
  static std::map<std::string, std::shared_ptr<const platform::StringTable>> cache;
  const std::string path = platform::Strings::TablePath(axview::kStringModule, suffix);
  if (auto it = cache.find(path); it != cache.end()) return it->second;
  std::shared_ptr<const platform::StringTable> table;
  std::string error;
  if (platform::Strings::Load(axview::kStringModule, suffix, table, error) != platform::LanguageLoad::Ok)
    return nullptr;
  cache[path] = table;
  return table;
}

}  // namespace

void SetAppRegistryKey(const std::string& key) { App().registryKey = key; }
std::string GetAppRegistryKey() { return App().registryKey; }
void SetAppName(const std::string& name) { App().name = name; }
std::string GetAppName() { return App().name; }
void SetAppStringModule(const std::string& module) { App().stringModule = module; }

extern "C" {

HINSTANCE GetDLLModuleHandle(void) {
  static HINSTANCE module = ModuleOf(reinterpret_cast<const void*>(&GetDLLModuleHandle));
  return module;
}

HINSTANCE GetAppModuleHandle(void) {
  static HINSTANCE program = dlopen(nullptr, RTLD_LAZY);
  return program;
}

int KELDExSetLanguage(int language) {
  g_language = language;
  return g_language;
}

int KELDExGetLanguage(void) { return g_language; }

int KELDExMessageBox(UINT id, UINT type, const char* caption) {
  std::string text;
  GetKELDExDLLString(id, text);
  if (text.empty()) return -1;
  const UINT buttons = type & platform::MB_TYPEMASK;
  if ((type & platform::MB_ICONMASK) == 0 &&
      (buttons == platform::MB_OK || buttons == platform::MB_OKCANCEL || buttons == platform::MB_YESNOCANCEL ||
       buttons == platform::MB_YESNO))
    type |= platform::MB_ICONEXCLAMATION;
  std::string title = caption && *caption ? std::string(caption) : GetAppName();
  QWidget* owner = nullptr;
  if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
    owner = QApplication::activeWindow();
    if (!owner)
      for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible()) {
          owner = w;
          break;
        }
  }
  return platform::ShowMessageBox(text, type, title, owner);
}

}  // extern "C"

void GetKELDExDLLString(UINT id, std::string& text) {
  text.clear();
  CSwitchResource guard;
  if (!guard.Switch(g_language)) return;
  text = platform::Strings::Get(axview::kStringModule, id);
}

HINSTANCE GetResourceHandleInForce() {
  return g_resourceInForce ? g_resourceInForce : GetAppModuleHandle();
}

bool LibraryResourcesInForce() { return g_resourceInForce != nullptr; }

std::string LoadResourceString(UINT id) {
  if (LibraryResourcesInForce()) return platform::Strings::Get(axview::kStringModule, id);
  if (App().stringModule.empty()) return {};
  return platform::Strings::Get(App().stringModule, id);
}

CSwitchAppRes::CSwitchAppRes() {
  // Only the library's resources (of any language) are switched away from.
  if (QCoreApplication::instance() && g_resourceInForce) {
    m_saved = g_resourceInForce;
    g_resourceInForce = nullptr;
    m_switched = 1;
  }
}

CSwitchAppRes::~CSwitchAppRes() {
  if (m_switched) g_resourceInForce = m_saved;
}

CSwitchResource::CSwitchResource() { axview::RegisterLibraryStrings(); }

CSwitchResource::~CSwitchResource() { Restore(); }

int CSwitchResource::Switch(int language) {
  if (!m_active) return 0;
  std::shared_ptr<const platform::StringTable> table;
  HINSTANCE module;
  if (language == 1) {
    table = LanguageTable("jpn");
    module = const_cast<platform::StringTable*>(table.get());
  } else {
    table = platform::Strings::Builtin(axview::kStringModule);
    module = GetDLLModuleHandle();
  }
  if (!table || !module) return 0;
  if (!m_switched) {
    m_saved = g_resourceInForce;
    m_savedTable = platform::Strings::Active(axview::kStringModule);
  }
  platform::Strings::SetActive(axview::kStringModule, table);
  g_resourceInForce = module;
  m_module = module;
  m_switched = 1;
  m_language = language;
  return 1;
}

void CSwitchResource::Restore() {
  if (!m_switched) return;
  platform::Strings::SetActive(axview::kStringModule, m_savedTable);
  g_resourceInForce = m_saved;
  m_savedTable.reset();
  m_switched = 0;
  m_module = nullptr;
}
