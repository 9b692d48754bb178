// The printed pages of a sheet: columns never overlap and each band of
// columns repeats the table No. column; lines continue on further pages.
#include <gtest/gtest.h>

#include <QFile>
#include <QPdfWriter>
#include <numeric>

#include "table_printer.h"
#include "test_home.h"

using namespace axcfgui;

namespace {

PrintSheet Sheet(int columns, int lines) {
  PrintSheet sheet;
  sheet.fileName = QStringLiteral("unit.axc");
  sheet.sheetName = QStringLiteral("[A] 1,2Axis");
  sheet.lineTitle = QStringLiteral("Table No.");
  for (int c = 0; c < columns; ++c) {
    sheet.titles << QStringLiteral("X axis(%1) movement amount").arg(c + 1);
    sheet.numeric.push_back(c % 2 == 0);
  }
  for (int l = 0; l < lines; ++l) {
    QStringList cells;
    for (int c = 0; c < columns; ++c) cells << QString::number((l + 1) * 1000003LL * (c + 1));
    sheet.lines.push_back(cells);
  }
  return sheet;
}

}  // namespace

TEST(TablePrinter, WideSheetsContinueInBandsThatFitThePage) {
  const std::string dir = keldtest::FreshDir("print");
  QPdfWriter pdf(QString::fromStdString(dir + "/sheet.pdf"));
  CTablePrinter printer(Sheet(14, 600));
  QFont font;
  font.setPointSize(9);
  ASSERT_TRUE(printer.Print(pdf, font, QStringLiteral("2026/12/08"), QStringLiteral("Page %1 of %2")));
  const QSize page = pdf.pageLayout().paintRectPixels(pdf.logicalDpiX()).size();
  ASSERT_GT(printer.Bands().size(), 1u) << "fourteen wide columns do not fit one portrait page";
  int next = 0;
  for (const auto& band : printer.Bands()) {
    EXPECT_EQ(band.first, next) << "every column is printed once, in order";
    int width = printer.LineNumberWidth();
    for (int c = band.first; c <= band.last; ++c) width += printer.ColumnWidths()[static_cast<size_t>(c)];
    EXPECT_LE(width, page.width()) << "a band never runs past the page";
    next = band.last + 1;
  }
  EXPECT_EQ(next, 14);
  const int linePages = (600 + printer.LinesPerPage() - 1) / printer.LinesPerPage();
  EXPECT_EQ(printer.PageCount(), linePages * static_cast<int>(printer.Bands().size()));
  EXPECT_GT(QFile(QString::fromStdString(dir + "/sheet.pdf")).size(), 1000);
}

TEST(TablePrinter, ColumnsAreAsWideAsTheirWidestText) {
  PrintSheet sheet = Sheet(2, 3);
  sheet.lines[1][1] = QStringLiteral("a considerably longer cell text than the title");
  CTablePrinter printer(sheet);
  QPdfWriter pdf(QString::fromStdString(keldtest::FreshDir("print2") + "/w.pdf"));
  QFont font;
  font.setPointSize(9);
  printer.Layout(QSize(40000, 50000), font, &pdf);
  EXPECT_GT(printer.ColumnWidths()[1], printer.ColumnWidths()[0]);
  EXPECT_EQ(printer.Bands().size(), 1u);
  EXPECT_EQ(printer.PageCount(), 1);
}
