#pragma once
// The server's texts: built in Japanese, other languages from lang/.
namespace connsrv {
constexpr const char* kServerModule = "KELD_TavMg";
constexpr unsigned kStrAlreadyRunning = 129;
void RegisterServerStrings();
}  // namespace connsrv
