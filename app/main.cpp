#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.setWindowTitle("Velkor Lirvane! 3.1.4");
  window.show();
  return app.exec();
}
