#include "axcfg_unit/connect_wait_library.h"

#include <QApplication>
#include <QWidget>

#include "tavinter/connection_record.h"
#include "tavtools/connect_wait_dialog.h"

namespace axcfg {

namespace {

// Only links the server connects may wait on a connect.
bool MayConnect(const uint8_t* c) {
  const int kind = tavinter::CConnectionRecord(const_cast<uint8_t*>(c)).Kind();
  return kind == tavinter::kKindEthernet || kind == tavinter::kKindEthernet8;
}

}  // namespace

int CConnectWatchingLibrary::Watched(const uint8_t* c, void* parent, const std::function<int()>& call) {
  if (!c || !MayConnect(c) || !qApp) return call();
  const int language = tavinter::CConnectionRecord(const_cast<uint8_t*>(c)).Language();
  QWidget* owner = parent ? static_cast<QWidget*>(parent) : QApplication::activeWindow();
  return tavtools::RunWatchingConnect(call, language, owner);
}

}  // namespace axcfg
