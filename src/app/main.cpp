// Program entry: no arguments are read.
#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>

#include "app/startup.h"

int main(int argc, char** argv) {
  // The splash time counts from here.
  QElapsedTimer started;
  started.start();
  if (!brevika::HaveDisplay()) {
    std::fprintf(stderr, "%s\n", brevika::NoDisplayMessage().toLocal8Bit().constData());
    return 1;
  }
  QApplication app(argc, argv);
  return brevika::RunBrevika(app, started);
}
