#include "app/system_info.h"

#include <pwd.h>
#include <unistd.h>

#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QStringList>
#include <QSysInfo>

namespace brevika {

namespace {

QString ReadProcFile(const char* path) {
  QFile file(QString::fromLatin1(path));
  // /proc files report size 0, so read until the end.
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
  return QString::fromUtf8(file.readAll());
}

}  // namespace

QString ProcessorFromCpuInfo(const QString& cpuinfo) {
  int count = 0;
  QString name;
  for (const QString& line : cpuinfo.split(QLatin1Char('\n'))) {
    const int colon = line.indexOf(QLatin1Char(':'));
    if (colon < 0) continue;
    const QString key = line.left(colon).trimmed();
    if (key == QLatin1String("model name")) {
      if (name.isEmpty()) name = line.mid(colon + 1).simplified();
      ++count;
    }
  }
  if (name.isEmpty()) return QStringLiteral("Unknown processor");
  if (count > 1) return QStringLiteral("%1 (%2 logical processors)").arg(name).arg(count);
  return name;
}

QString MemoryFromMemInfo(const QString& meminfo, const QString& key) {
  static const QRegularExpression line(QStringLiteral("^(\\S+):\\s*(\\d+)\\s*kB"),
                                       QRegularExpression::MultilineOption);
  auto it = line.globalMatch(meminfo);
  while (it.hasNext()) {
    const QRegularExpressionMatch m = it.next();
    if (m.captured(1) != key) continue;
    const qlonglong kb = m.captured(2).toLongLong();
    return QStringLiteral("%1 MB").arg(QLocale(QLocale::English).toString(kb / 1024));
  }
  return {};
}

QString OwnerFromPasswordEntry(const QString& gecos, const QString& login) {
  const QString name = gecos.section(QLatin1Char(','), 0, 0).trimmed();
  return name.isEmpty() ? login : name;
}

SystemInfo ReadSystemInfo() {
  SystemInfo info;
  info.processor = ProcessorFromCpuInfo(ReadProcFile("/proc/cpuinfo"));
  const QString meminfo = ReadProcFile("/proc/meminfo");
  info.memory = MemoryFromMemInfo(meminfo, QStringLiteral("MemTotal"));
  info.freeMemory = MemoryFromMemInfo(meminfo, QStringLiteral("MemAvailable"));
  if (info.memory.isEmpty()) info.memory = QStringLiteral("Unknown");
  if (info.freeMemory.isEmpty()) info.freeMemory = QStringLiteral("Unknown");
  info.system = QSysInfo::prettyProductName();

  QString login, gecos;
  if (const passwd* pw = getpwuid(geteuid())) {
    login = QString::fromLocal8Bit(pw->pw_name);
    if (pw->pw_gecos) gecos = QString::fromLocal8Bit(pw->pw_gecos);
  }
  if (login.isEmpty()) {
    const char* name = getlogin();
    login = name ? QString::fromLocal8Bit(name) : QStringLiteral("Unknown");
  }
  info.owner = OwnerFromPasswordEntry(gecos, login);
  return info;
}

}  // namespace brevika
