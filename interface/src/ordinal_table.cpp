// The ordinal numbers of the calling programs, mapped to this library's functions.
#include "tavinter/ordinals.h"

#include <algorithm>
#include <iterator>

#include "tavinter/ethernet_links.h"
#include "tavinter/tavinter.h"

namespace {

using Fn = void (*)(void);
template <typename T>
Fn F(T* fn) {
  return reinterpret_cast<Fn>(fn);
}

#define TAV_ENTRY(ord, fn, role) {ord, #fn, role, F(&fn)}
#define TAV_MISSING(ord, what, role) {ord, what, role, nullptr}

const TavOrdinal kTable[] = {
    TAV_ENTRY(1, TavGetStatus, "viewer"),
    TAV_ENTRY(2, TavPublishEndpoint, "server"),
    TAV_ENTRY(4, TavServerReady, "server"),
    TAV_ENTRY(5, TavDeliverAnswer, "server"),
    TAV_ENTRY(6, TavAnswerFirstByte, "server"),
    TAV_ENTRY(8, TavOpen, "client"),
    TAV_ENTRY(14, TavClose, "client"),
    TAV_ENTRY(21, TavClientAlive, "server"),
    TAV_ENTRY(41, TavReadSection, "client"),
    TAV_ENTRY(42, TavWriteSection, "client"),
    TAV_MISSING(46, "board step", "server"),
    TAV_ENTRY(48, TavModemConnected, "server"),
    TAV_ENTRY(49, TavGetPreCommand, "server"),
    TAV_ENTRY(57, TavGetMonitorRegistration, "server"),
    TAV_ENTRY(58, TavSetMonitorRegistration, "server"),
    TAV_ENTRY(70, TavGetErrorText, "client"),
    TAV_ENTRY(72, TavModemDialText, "server"),
    TAV_ENTRY(74, TavClientRecordArea, "viewer"),
    TAV_ENTRY(75, TavMarkClientSeen, "viewer"),
    TAV_ENTRY(76, TavClearClientRecords, "viewer"),
    TAV_ENTRY(79, TavClientLineCount, "viewer"),
    TAV_ENTRY(80, TavAttachClientRecords, "server, viewer"),
    TAV_ENTRY(81, TavDetachClientRecords, "viewer"),
    TAV_ENTRY(82, TavRegisterViewer, "viewer"),
    TAV_ENTRY(123, TavReleasePortFinal, "server"),
    TAV_ENTRY(128, TavDial, "modem"),
    TAV_ENTRY(129, TavHangUp, "modem"),
    TAV_ENTRY(131, TavModemReleased, "server"),
    TAV_ENTRY(133, TavClientStatusByte, "viewer"),
    TAV_ENTRY(134, TavTouchPortStatus, "server"),
    TAV_ENTRY(135, TavReleaseClient, "server"),
    TAV_ENTRY(137, TavSetChannelConfig, "server"),
    TAV_ENTRY(138, TavOpenDone, "server"),
    TAV_ENTRY(150, TavSetApplicationName, "client"),
    TAV_ENTRY(151, TavLineInUse, "modem, server"),
    TAV_ENTRY(153, TavSetLanguage, "client, modem"),
    TAV_ENTRY(159, TavOthersReleased, "modem"),
    TAV_ENTRY(160, TavPollOthersReleased, "modem"),
    TAV_ENTRY(161, TavHangUpDone, "modem"),
    TAV_ENTRY(163, TavModemDisconnected, "server"),
    TAV_ENTRY(166, TavPortRecordArea, "viewer"),
    TAV_ENTRY(167, TavMarkPortSeen, "viewer"),
    TAV_ENTRY(168, TavClearPortRecords, "viewer"),
    TAV_ENTRY(169, TavResetPortRecords, "server"),
    TAV_ENTRY(170, TavChannelTearDown, "server"),
    TAV_ENTRY(172, TavAttachPortRecords, "server, viewer"),
    TAV_ENTRY(173, TavDetachPortRecords, "viewer"),
    TAV_ENTRY(175, TavPortLineCount, "viewer"),
    TAV_ENTRY(176, TavPortStatusByte, "viewer"),
    TAV_ENTRY(179, TavForceOthersOff, "modem"),
    TAV_ENTRY(188, TavGetErrorTextOfRecord, "client"),
    TAV_ENTRY(189, TavClientOldestLine, "viewer"),
    TAV_ENTRY(190, TavPortOldestLine, "viewer"),
    TAV_ENTRY(193, TavAnnounceEthernetPort, "server"),
    TAV_ENTRY(194, TavReleasePort, "server"),
    TAV_ENTRY(195, TavRegisterEthernetLink, "server"),
    TAV_ENTRY(196, TavRemoveEthernetLink, "server"),
    TAV_ENTRY(197, TavSetEthernetLinkState, "server"),
    TAV_ENTRY(200, TavReadEthernetLink, "server"),
    TAV_ENTRY(202, TavOpenFailed, "server"),
    TAV_ENTRY(203, TavGetClientEthernetLink, "viewer"),
    TAV_ENTRY(204, TavSetProductNo, "client, modem"),
    TAV_ENTRY(205, TavReadPortRecord, "modem"),
    TAV_ENTRY(206, TavWritePortRecord, "client, modem"),
    TAV_ENTRY(220, TavEthernetLinkCount, "server"),
    TAV_ENTRY(255, TavGetCommonFolder, "paths"),
    TAV_ENTRY(256, TavGetResourceFolder, "paths"),
    TAV_ENTRY(263, TavLogRecord, "server"),
    TAV_ENTRY(264, TavGetModemPortCount, "modem"),
    TAV_ENTRY(267, TavGetRoute, "server"),
    TAV_ENTRY(280, TavAttachPort, "server, viewer"),
    TAV_ENTRY(281, TavDetachPort, "server, viewer"),
    TAV_ENTRY(282, TavGetPortConfig, "viewer"),
    TAV_ENTRY(284, TavAddClient, "server, viewer"),
    TAV_ENTRY(285, TavRemoveClient, "server, viewer"),
    TAV_ENTRY(286, TavNoteCommand, "server"),
    TAV_ENTRY(287, TavGetClientName, "viewer"),
    TAV_MISSING(297, "USB step", "server"),
    TAV_ENTRY(313, TavGetUsbDevicePath, "server"),
    TAV_ENTRY(321, TavReadUnitWords, "client"),
    TAV_ENTRY(322, TavWriteUnitWords, "client"),
    TAV_ENTRY(338, TavGetFilePath, "paths"),
    TAV_ENTRY(347, TavPlcSimExchange, "server"),
};

}  // namespace

extern "C" const TavOrdinal* TavOrdinalTable(int* count) {
  if (count) *count = static_cast<int>(std::size(kTable));
  return kTable;
}

extern "C" const TavOrdinal* TavFindOrdinal(int ordinal) {
  auto it = std::lower_bound(std::begin(kTable), std::end(kTable), ordinal,
                             [](const TavOrdinal& e, int o) { return e.ordinal < o; });
  return it != std::end(kTable) && it->ordinal == ordinal ? it : nullptr;
}
