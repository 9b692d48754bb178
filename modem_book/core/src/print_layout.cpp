#include "modem_book/print_layout.h"

#include <algorithm>

#include "modem_book/modem_strings.h"

namespace modembook {

namespace {

std::vector<PrintLine> PortLines(const CTelConnectDoc& doc) {
  std::vector<PrintLine> lines;
  for (int com = 1; com <= kPortCount; ++com) {
    const CPortModemSettings& p = doc.Port(com);
    std::string mode = p.dialMode == kDialPulse  ? ModemText(kIdsPrintPulse)
                       : p.dialMode == kDialTone ? ModemText(kIdsPrintTone)
                                                 : p.dialCommand;
    lines.push_back({ModemText(kIdsPrintPort) + std::to_string(com), {}});
    lines.push_back({ModemText(kIdsPrintDialMode) + mode, {}});
    lines.push_back({ModemText(kIdsPrintInitCommand) + p.initCommand, {}});
    lines.push_back({ModemText(kIdsPrintPlcTimeout) + std::to_string(p.plcTimeout),
                     ModemText(kIdsPrintLineTimeout) + std::to_string(p.lineTimeout)});
  }
  return lines;
}

std::vector<PrintLine> EntryLines(const CTelConnectDoc& doc) {
  std::vector<PrintLine> lines;
  for (const auto& e : doc.Entries()) {
    lines.push_back({ModemText(kIdsPrintTitle) + e.Title(), {}});
    lines.push_back({ModemText(kIdsPrintPhone) + e.Phone(), {}});
    lines.push_back({ModemText(kIdsPrintProperty) + PropertyText(e, false), {}});
    lines.push_back({});
  }
  return lines;
}

// Cuts lines into pages of at most perPage lines each.
void AddPages(PrintLayout& layout, const std::vector<PrintLine>& lines, size_t perPage) {
  for (size_t at = 0; at < lines.size(); at += perPage) {
    PrintPage page;
    page.number = static_cast<int>(layout.pages.size()) + 1;
    page.lines.assign(lines.begin() + static_cast<std::ptrdiff_t>(at),
                      lines.begin() + static_cast<std::ptrdiff_t>(std::min(lines.size(), at + perPage)));
    layout.pages.push_back(std::move(page));
  }
}

}  // namespace

PrintLayout LayoutPrint(const CTelConnectDoc& doc, int printableHeight, int textHeight) {
  PrintLayout layout;
  layout.linesPerPage = textHeight > 0 ? std::max(1, printableHeight / textHeight) : 1;
  layout.entriesPerPage = std::max(1, layout.linesPerPage / 4 - 1);
  // The body of a page is what the heading leaves; a page too small for
  // that still takes one line, and an entry then runs over several pages.
  const size_t body = static_cast<size_t>(std::max(1, layout.linesPerPage - kPrintHeadingLines));
  // A port's four lines stay on one page when the page holds four.
  AddPages(layout, PortLines(doc), body >= 4 ? body - body % 4 : body);
  AddPages(layout, EntryLines(doc), std::min(body, static_cast<size_t>(layout.entriesPerPage) * 4));
  for (auto& page : layout.pages) {
    page.caption = ModemText(kIdsCaption);
    // The number goes in by text replacement: a table text is never a format.
    page.pageText = ModemText(kIdsPage);
    const size_t at = page.pageText.find("%d");
    if (at != std::string::npos) page.pageText.replace(at, 2, std::to_string(page.number));
  }
  return layout;
}

}  // namespace modembook
