#include "guidance_bar.h"

#include <QFont>
#include <QMainWindow>
#include <QLabel>
#include <QScrollArea>

#include "axview/helpers.h"
#include "guidance_text.h"
#include "ui_strings.h"

namespace axcfgui {

CGuidanceBar::CGuidanceBar(QMainWindow* parent) : m_text(new QLabel) {
  CSize size;
  size.cx = 200;
  size.cy = 110;
  Create(parent, kBarId, UiText(kIdsGuidanceBar).c_str(), size);
  // Floated, the bar is a small window that holds a guidance text with its
  // note (up to about eight lines) without scrolling.
  SetFloatSize(CSize(380, 190));
  setAllowedAreas(Qt::AllDockWidgetAreas);
  m_text->setTextFormat(Qt::PlainText);
  m_text->setWordWrap(true);
  m_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  m_text->setMargin(4);
  m_text->setAutoFillBackground(true);
  QPalette pal = m_text->palette();
  pal.setColor(QPalette::Window, Qt::white);
  m_text->setPalette(pal);
  LOGFONT lf{};
  GetSystemLogFont(&lf);
  if (lf.lfFaceName[0]) {
    QFont font(QString::fromLocal8Bit(lf.lfFaceName));
    if (lf.lfHeight != 0) font.setPixelSize(lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight);
    m_text->setFont(font);
  }
  auto* scroll = new QScrollArea;
  scroll->setWidget(m_text);
  scroll->setWidgetResizable(true);
  SetClientWidget(scroll);
}

void CGuidanceBar::SetGuidance(unsigned textId, unsigned noteId) {
  const std::string text = UiText(textId);
  const std::string note = noteId ? UiText(noteId) : std::string();
  std::string shown = ComposeGuidance(text, note);
  // Line breaks are CR LF in the string tables; the label wants LF.
  QString q = QString::fromStdString(shown);
  q.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  m_text->setText(q);
}

std::string CGuidanceBar::GuidanceText() const { return m_text->text().toStdString(); }

}  // namespace axcfgui
