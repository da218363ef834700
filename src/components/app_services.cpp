#include "components/app_services.h"

#include <QCoreApplication>
#include <QFile>

#include "records/loan_tables.h"

namespace brevika {

namespace {
std::string DefaultFolder() {
  return records::TablesFolder(QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString());
}
}  // namespace

std::string AppServices::LoanTablesFolder() const { return DefaultFolder(); }

std::string LoanTablesFolderOf(const AppServices* services) {
  if (services) return services->LoanTablesFolder();
  return DefaultFolder();
}

}  // namespace brevika
