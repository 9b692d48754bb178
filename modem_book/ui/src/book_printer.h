#pragma once
// Draws the printed list (ports, then entries) on a printer or a preview.
#include "modem_book/tel_connect_doc.h"

class QPrinter;

namespace modembook {

// Paints every page of the layout; the pages' line count follows from the
// printer's printable height and the font's line height.
void PrintBook(const CTelConnectDoc& doc, QPrinter& printer);

}  // namespace modembook
