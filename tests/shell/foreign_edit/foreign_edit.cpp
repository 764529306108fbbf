// A line edit that stands for any other program. Commands on standard input, one a line:
//   text T       the edit holds T (UTF-8), all of it selected, and has the keyboard focus
//   get          prints "text " and the edit's text
//   clip-set T   the clipboard holds T and, in a format of its own, the bytes "keep"
//   clip-get     prints "clip " + the clipboard's text + "|" + the bytes of that format
// It prints "ready " and its window's id once shown, and "ok" after each command that prints
// nothing else.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QSocketNotifier>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

const char* const kOwnFormat = "application/x-quillomark-test";

void Say(const QString& line) {
  std::printf("%s\n", line.toUtf8().constData());
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QLineEdit edit;
  edit.setWindowTitle("foreign edit");
  edit.resize(400, 40);
  edit.show();
  edit.activateWindow();
  Say("ready " + QString::number(edit.winId()));

  std::string pending;
  QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
  QObject::connect(&input, &QSocketNotifier::activated, [&] {
    char buffer[4096];
    const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
    if (n <= 0) {
      app.quit();
      return;
    }
    pending.append(buffer, size_t(n));
    for (size_t end; (end = pending.find('\n')) != std::string::npos;) {
      const QString line = QString::fromUtf8(pending.substr(0, end));
      pending.erase(0, end + 1);
      const QString verb = line.section(' ', 0, 0), rest = line.section(' ', 1);
      if (verb == "text") {
        edit.setText(rest);
        edit.selectAll();
        edit.activateWindow();
        edit.setFocus();
        Say("ok");
      } else if (verb == "get") {
        Say("text " + edit.text());
      } else if (verb == "clip-set") {
        auto* data = new QMimeData;
        data->setText(rest);
        data->setData(kOwnFormat, "keep");
        QApplication::clipboard()->setMimeData(data);
        Say("ok");
      } else if (verb == "clip-get") {
        const QMimeData* data = QApplication::clipboard()->mimeData();
        Say("clip " + (data ? data->text() + "|" + QString::fromUtf8(data->data(kOwnFormat)) : QString("|")));
      }
    }
  });
  return app.exec();
}
