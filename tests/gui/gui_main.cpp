// One main for every GUI test: a QApplication on the offscreen platform
// unless the caller chose another one.
#include <gtest/gtest.h>

#include <QApplication>
#include <sys/stat.h>

namespace {
QtMessageHandler defaultHandler = nullptr;

// The offscreen platform cannot pass size hints of fixed-size windows on;
// that notice says nothing about the code under test.
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.contains(QLatin1String("does not support propagateSizeHints"))) return;
  if (defaultHandler) defaultHandler(type, context, message);
}
}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    const QByteArray dir = "/tmp/brevika-gui-tests-runtime";
    qputenv("XDG_RUNTIME_DIR", dir);
    mkdir(dir.constData(), 0700);
  }
  defaultHandler = qInstallMessageHandler(QuietHandler);
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
