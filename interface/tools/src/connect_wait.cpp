#include "tavtools/connect_wait.h"

#include "tavinter/result_codes.h"
#include "tool_texts.h"

namespace tavtools {

CConnectWaitCore::CConnectWaitCore(int handle)
    : CConnectWaitCore([handle](TavConnectWait& w) { return TavGetConnectWait(handle, &w) == 1; },
                       [] { return TavSteadyMs(); }, [](int port, int h) { return TavCancelConnect(port, h); }) {}

CConnectWaitCore::CConnectWaitCore(Source source, Clock clock, CancelCall cancel)
    : source_(std::move(source)), clock_(std::move(clock)), cancel_(std::move(cancel)) {}

const ConnectWaitView& CConnectWaitCore::Poll() {
  TavConnectWait wait{};
  if (!source_(wait)) {
    view_ = {};
    cancelled_ = false;
    return view_;
  }
  const bool another = wait.handle != view_.handle || wait.port != view_.port || wait.startMs != shownStart_;
  if (another) cancelled_ = false;
  shownStart_ = wait.startMs;
  view_.port = wait.port;
  view_.handle = wait.handle;
  view_.address = wait.address;
  view_.visible = clock_() - wait.startMs >= static_cast<long long>(wait.dispTimeSec) * 1000;
  return view_;
}

int CConnectWaitCore::Cancel() {
  if (!view_.visible) return TAV_E_NOT_OPEN;
  if (cancelled_) return 0;
  const int rc = cancel_(view_.port, view_.handle);
  if (rc == 0) cancelled_ = true;
  return rc;
}

ConnectWaitTexts ConnectWaitTextsFor(const ConnectWaitView& view, int language) {
  return {ToolText(kTextConnectTitle, language), ToolText(kTextConnecting, language),
          ToolText(kTextConnectAddress, language, view.address), ToolText(kTextConnectCancel, language)};
}

}  // namespace tavtools
