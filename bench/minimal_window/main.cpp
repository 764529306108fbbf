// The yardstick of bench_program's start-up figure: the smallest Qt 6 editor window, a menu bar
// over a text edit, shown and closed again as soon as the message loop runs.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTextEdit>
#include <QTimer>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  for (const char* title : {"&File", "&Edit", "&View", "&Help"}) window.menuBar()->addMenu(title)->addAction("Item");
  window.setCentralWidget(new QTextEdit);
  window.resize(800, 600);
  window.show();
  QTimer::singleShot(1, &window, &QMainWindow::close);
  return app.exec();
}
