#include "server_strings.h"

#include "platform/strings.h"

namespace connsrv {

void RegisterServerStrings() {
  static const platform::StringEntry kBuiltin[] = {
      {kStrAlreadyRunning, "すでにTAVNETﾏﾈｰｼﾞｬｰは実行しています。"},
  };
  platform::Strings::RegisterBuiltin(kServerModule, kBuiltin, sizeof kBuiltin / sizeof kBuiltin[0]);
}

}  // namespace connsrv
