#include "AppTestSupport.h"

#include <csignal>

namespace tessel::app::testing {

BoxRecorder::BoxRecorder() {
  previous_ = SetBoxRunner([this](QMessageBox& box) {
    texts << box.text();
    icons << box.icon();
    QAbstractButton* answer = box.defaultButton();
    if (answer == nullptr) answer = box.buttons().value(0);
    if (answer != nullptr) answer->click();
  });
}

BoxAnswer::BoxAnswer(QString button) {
  previous_ = SetBoxRunner([this, button](QMessageBox& box) {
    texts << box.text();
    for (QAbstractButton* b : box.buttons()) {
      if (b->text() == button) b->click();
    }
  });
}

FileSizeLimit::FileSizeLimit(rlim_t bytes) {
  getrlimit(RLIMIT_FSIZE, &old_);
  // Else a write beyond the limit ends the process.
  old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
  rlimit limit = old_;
  limit.rlim_cur = bytes;
  setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
  setrlimit(RLIMIT_FSIZE, &old_);
  std::signal(SIGXFSZ, old_handler_);
}

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : "<missing>";
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
  file.write(bytes);
}

void WhenModal(std::function<void(QWidget* dialog)> function) {
  auto* poll = new QTimer(qApp);
  poll->setInterval(10);
  QObject::connect(poll, &QTimer::timeout, poll, [poll, function] {
    if (QWidget* dialog = QApplication::activeModalWidget()) {
      poll->stop();
      poll->deleteLater();
      function(dialog);
    }
  });
  poll->start();
}

}  // namespace tessel::app::testing
