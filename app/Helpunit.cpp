#include "Helpunit.h"

#include <QFrame>
#include <QPushButton>
#include <QScreen>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextEdit>

#include "AppFonts.h"

namespace tessel::app {

namespace {

constexpr int kClientWidth = 404;
constexpr int kClientHeight = 305;
// The memo's line pitch: the design's, which fits all the credit lines.
// The stand-in fonts would space them wider and cut the last ones off.
constexpr int kLinePitch = 16;

}  // namespace

QStringList AboutBox::CreditLines() {
  return {
      QStringLiteral("Tessel 檔案比對程式 1.3 版 (2026.12)"),
      QStringLiteral("Tessel V1.3  專為格式相異之文件比較所設計"),
      QString(),
      QStringLiteral("版權所有 (C) 2025-2026 Tessel 開發團隊"),
      QStringLiteral("鑲嵌文本開發團隊"),
      QString(),
      QStringLiteral("著作權 (C) 2025-2026 Tessel 作者群"),
      QStringLiteral("聯絡信箱 : tessel@example.org"),
      QString(),
      QStringLiteral("歡迎非商業用途之使用與轉載"),
      QStringLiteral("              1.3.05.19.09.27.10.26"),
      QStringLiteral(" "),
      QStringLiteral(" "),
  };
}

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
  setWindowTitle(QStringLiteral("關於Tessel"));
  setFixedSize(kClientWidth, kClientHeight);
  setFont(MingFont());
  // Closing the main window ends the program even while this box is open.
  setAttribute(Qt::WA_QuitOnClose, false);

  credits_ = new QTextEdit(this);
  credits_->setObjectName(QStringLiteral("credits"));
  credits_->setGeometry(40, 32, 329, 193);
  credits_->setReadOnly(true);
  credits_->setFrameShape(QFrame::NoFrame);
  credits_->setFocusPolicy(Qt::NoFocus);
  credits_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  credits_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  credits_->setLineWrapMode(QTextEdit::NoWrap);
  credits_->setAcceptRichText(false);
  // In the colour of the dialog, so that it reads as plain text.
  QPalette palette = credits_->palette();
  palette.setColor(QPalette::Base, palette.color(QPalette::Window));
  credits_->setPalette(palette);
  credits_->setPlainText(CreditLines().join(u'\n'));
  QTextBlockFormat pitch;
  pitch.setLineHeight(kLinePitch, QTextBlockFormat::FixedHeight);
  QTextCursor all(credits_->document());
  all.select(QTextCursor::Document);
  all.mergeBlockFormat(pitch);

  ok_button_ = new QPushButton(QStringLiteral("確 定"), this);
  ok_button_->setObjectName(QStringLiteral("okButton"));
  ok_button_->setGeometry(160, 256, 75, 33);
  ok_button_->setDefault(true);
  connect(ok_button_, &QPushButton::clicked, this, &QWidget::hide);

  frame_ = new QFrame(this);
  frame_->setGeometry(16, 16, 369, 225);
  frame_->setFrameStyle(QFrame::Box | QFrame::Sunken);
  frame_->lower();
}

void AboutBox::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  ok_button_->setFocus();
  if (shown_) return;
  shown_ = true;
  if (const QScreen* screen = this->screen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
}

}  // namespace tessel::app
