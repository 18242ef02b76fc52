#include "transfer/database_export.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <vector>

#include "platform/file_replacement.h"
#include "transfer/text_lines.h"

namespace transfer {
namespace {

constexpr auto kDriver = "QSQLITE";

QString quotedIdentifier(std::string_view identifier) {
  QString text = QString::fromUtf8(identifier.data(), static_cast<qsizetype>(identifier.size()));
  text.replace(QLatin1Char('"'), QLatin1String("\"\""));
  return QLatin1Char('"') + text + QLatin1Char('"');
}

ExportResult engineFailure(const QString& what, const QSqlError& error) {
  return {ExportError::DatabaseFailed, (what + QStringLiteral(": ") + error.text()).toStdString()};
}

// Builds the table in the (empty) database file `db` names.
ExportResult fillDatabase(QSqlDatabase& db, const ListSource& list, const std::string& tableName) {
  if (!db.open()) return engineFailure(QStringLiteral("Cannot create the database"), db.lastError());
  QSqlQuery query(db);
  // The file is thrown away when anything fails, so it needs no journal.
  query.exec(QStringLiteral("PRAGMA journal_mode=OFF"));

  QStringList fields;
  QStringList placeholders;
  for (const std::string& title : list.titles()) {
    fields << quotedIdentifier(databaseFieldName(title)) + QStringLiteral(" TEXT");
    placeholders << QStringLiteral("?");
  }
  const QString table = quotedIdentifier(tableName);
  if (!query.exec(QStringLiteral("CREATE TABLE %1 (%2)").arg(table, fields.join(", "))))
    return engineFailure(QStringLiteral("Cannot create table %1").arg(table), query.lastError());

  if (!db.transaction())
    return engineFailure(QStringLiteral("Cannot start adding records"), db.lastError());
  if (!query.prepare(
          QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(table, placeholders.join(", "))))
    return engineFailure(QStringLiteral("Cannot add records"), query.lastError());
  std::vector<std::string> cells;
  for (std::size_t row = 0; row < list.rowCount(); ++row) {
    list.rowCells(row, cells);
    for (std::size_t c = 0; c < cells.size(); ++c) {
      const std::string_view value = databaseValue(cells[c]);
      query.bindValue(static_cast<int>(c), QString::fromUtf8(value.data(),
                                                             static_cast<qsizetype>(value.size())));
    }
    if (!query.exec()) return engineFailure(QStringLiteral("Cannot add a record"), query.lastError());
  }
  if (!db.commit()) return engineFailure(QStringLiteral("Cannot save the records"), db.lastError());
  return {};
}

// Runs the fill on a connection of its own, removed again afterwards.
ExportResult fillDatabaseFile(const QString& file, const ListSource& list,
                              const std::string& tableName) {
  const QString connection = QStringLiteral("veltrane-export-") + QUuid::createUuid().toString();
  ExportResult result;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QString::fromLatin1(kDriver), connection);
    db.setDatabaseName(file);
    result = fillDatabase(db, list, tableName);
    db.close();
  }
  QSqlDatabase::removeDatabase(connection);
  return result;
}

}  // namespace

ExportResult writeDatabase(const ListSource& list, const std::string& path,
                           const std::string& tableName) {
  if (!QSqlDatabase::isDriverAvailable(QString::fromLatin1(kDriver)))
    return {ExportError::DatabaseFailed, "The SQLite driver of Qt is not installed."};

  // SQLite writes a file of its own: a fresh temporary one, renamed over a
  // regular target (the file a link names) or copied into a FIFO or device.
  platform::ReplacementOptions options;
  options.alwaysTemporary = true;
  platform::FileReplacement file;
  if (!file.open(path, options))
    return {ExportError::CannotCreateFile, file.reason()};

  if (ExportResult filled =
          fillDatabaseFile(QString::fromStdString(file.temporaryPath()), list, tableName);
      !filled.ok())
    return filled;  // the temporary file goes with `file`

  if (!file.commit()) return {ExportError::WriteFailed, file.reason()};
  return {};
}

}  // namespace transfer
