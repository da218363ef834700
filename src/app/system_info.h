// What the about box tells about the computer: processor, memory, operating
// system and the owner of the account the program runs under.
#pragma once
#include <QString>

namespace brevika {

struct SystemInfo {
  QString processor;     // "model name" of /proc/cpuinfo
  QString memory;        // MemTotal of /proc/meminfo, e.g. "15,958 MB"
  QString freeMemory;    // MemAvailable, the same way
  QString system;        // QSysInfo::prettyProductName()
  QString owner;         // full name from the password database, else login
};

// Pieces that read the /proc text and the password entry, kept separate so
// that they can be checked with fixed text.
QString ProcessorFromCpuInfo(const QString& cpuinfo);
// Value of a "Key:   1234 kB" line of /proc/meminfo as "1 MB"-style text;
// empty when the key is missing.
QString MemoryFromMemInfo(const QString& meminfo, const QString& key);
// First comma-separated field of the GECOS text; the login when it is empty.
QString OwnerFromPasswordEntry(const QString& gecos, const QString& login);

SystemInfo ReadSystemInfo();

}  // namespace brevika
