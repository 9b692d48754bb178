#include "qt_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

namespace axcfgui {

namespace {
std::unique_ptr<QTranslator> g_qtTexts;
}

bool InstallQtTranslations(int language) {
  if (g_qtTexts) {
    QCoreApplication::removeTranslator(g_qtTexts.get());
    g_qtTexts.reset();
  }
  if (language != 1) return true;
  auto translator = std::make_unique<QTranslator>();
  if (!translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) return false;
  QCoreApplication::installTranslator(translator.get());
  g_qtTexts = std::move(translator);
  return true;
}

}  // namespace axcfgui
