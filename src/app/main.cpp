// Program entry: --help and --version are answered without a display; other
// arguments go to Qt.
#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <cstring>

#include "app/startup.h"
#include "components/version.h"

namespace {

constexpr char kUsage[] =
    "Usage: brevika [--help | --version]\n"
    "Opens the main window of Brevika: loan and mortgage calculators with\n"
    "amortization schedules. The same calculations without windows: brevika-calc.\n"
    "\n"
    "Options:\n"
    "  -h, --help   print this help and exit\n"
    "  --version    print the version and exit\n";

}  // namespace

int main(int argc, char** argv) {
  // The splash time counts from here.
  QElapsedTimer started;
  started.start();
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--version") == 0) {
      std::fputs(brevika::VersionText("brevika").c_str(), stdout);
      return 0;
    }
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
  }
  if (!brevika::HaveDisplay()) {
    // Named as it was started, so that the advice runs as given.
    const char* invokedAs = argc > 0 && argv[0] && *argv[0] ? argv[0] : "brevika";
    std::fprintf(stderr, "%s\n",
                 brevika::NoDisplayMessage(QString::fromLocal8Bit(invokedAs)).toLocal8Bit().constData());
    return 1;
  }
  QApplication app(argc, argv);
  return brevika::RunBrevika(app, started);
}
