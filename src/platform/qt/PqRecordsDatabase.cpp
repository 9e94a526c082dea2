#include "platform/qt/PqRecordsDatabase.h"

#include <libpq-fe.h>

#include <QMetaObject>

namespace {
// One migration at a time, whichever station starts first.
constexpr const char* kLockKey = "4907251388";

const char* const kInsert = R"(
INSERT INTO kova_records AS r (attempt, time, modem, mac, interface, station, operation,
  version_before, version_after, image_name, image_size, image_sha256, outcome, duration_s,
  reason_code, holds, verified_sha256, backup_image, backup_name, backup_size, backup_sha256,
  backup_checksum_sha256, signed_by, dns_primary, dns_secondary)
SELECT j->>'attempt', (j->>'time')::timestamptz, j->>'modem', NULLIF(j->>'mac', ''),
  NULLIF(j->>'interface', ''), NULLIF(j->>'station', ''), j->>'operation',
  NULLIF(j->>'version_before', ''), NULLIF(j->>'version_after', ''), j->'image'->>'name',
  (j->'image'->>'size')::bigint, j->'image'->>'sha256', j->>'outcome',
  (j->>'duration_s')::float8, j->>'reason_code', j->>'holds', j->>'verified_sha256',
  j->>'backup_image', j->'backup'->>'name', (j->'backup'->>'size')::bigint,
  j->'backup'->>'sha256', j->'backup'->>'checksum_sha256', j->>'signed_by',
  j->'dns'->>'primary', j->'dns'->>'secondary'
FROM (SELECT $1::jsonb AS j) AS line
ON CONFLICT (attempt) DO UPDATE SET time = EXCLUDED.time, modem = EXCLUDED.modem,
  mac = EXCLUDED.mac, interface = EXCLUDED.interface, station = EXCLUDED.station,
  operation = EXCLUDED.operation, version_before = EXCLUDED.version_before,
  version_after = EXCLUDED.version_after, image_name = EXCLUDED.image_name,
  image_size = EXCLUDED.image_size, image_sha256 = EXCLUDED.image_sha256,
  outcome = EXCLUDED.outcome, duration_s = EXCLUDED.duration_s,
  reason_code = EXCLUDED.reason_code, holds = EXCLUDED.holds,
  verified_sha256 = EXCLUDED.verified_sha256,
  backup_image = COALESCE(EXCLUDED.backup_image, r.backup_image),
  backup_name = EXCLUDED.backup_name, backup_size = EXCLUDED.backup_size,
  backup_sha256 = EXCLUDED.backup_sha256, backup_checksum_sha256 = EXCLUDED.backup_checksum_sha256,
  signed_by = EXCLUDED.signed_by, dns_primary = EXCLUDED.dns_primary,
  dns_secondary = EXCLUDED.dns_secondary, arrived = now()
WHERE r.outcome = 'began' AND EXCLUDED.outcome <> 'began')";

// The rows in the history's own line form.
const char* const kSelect = R"(
SELECT (jsonb_strip_nulls(jsonb_build_object(
  'time', to_char(time AT TIME ZONE 'UTC', 'YYYY-MM-DD"T"HH24:MI:SS"Z"'), 'modem', modem,
  'mac', COALESCE(mac, ''), 'interface', COALESCE(interface, ''), 'station', station,
  'operation', operation, 'version_before', COALESCE(version_before, ''),
  'version_after', COALESCE(version_after, ''), 'outcome', outcome, 'duration_s', duration_s,
  'reason_code', reason_code, 'attempt', attempt, 'backup_image', backup_image, 'holds', holds,
  'verified_sha256', verified_sha256, 'signed_by', signed_by,
  'backup', CASE WHEN backup_name IS NOT NULL THEN jsonb_build_object('name', backup_name,
    'size', COALESCE(backup_size, -1), 'sha256', COALESCE(backup_sha256, ''),
    'checksum_sha256', COALESCE(backup_checksum_sha256, '')) END,
  'dns', CASE WHEN dns_primary IS NOT NULL OR dns_secondary IS NOT NULL THEN jsonb_build_object(
    'primary', COALESCE(dns_primary, ''), 'secondary', COALESCE(dns_secondary, '')) END))
  || jsonb_build_object('image', CASE WHEN image_name IS NOT NULL OR image_size IS NOT NULL
    OR image_sha256 IS NOT NULL THEN jsonb_build_object('name', COALESCE(image_name, ''),
    'size', COALESCE(image_size, -1), 'sha256', COALESCE(image_sha256, '')) END))::text
FROM kova_records
WHERE ($1::text = '' OR time >= $1::timestamptz) AND ($2::text = '' OR time < $2::timestamptz)
ORDER BY time, arrived, attempt)";

// libpq's message, on one line.
std::string Message(const char* text) {
  std::string message = text ? text : "";
  const auto end = message.find('\n');
  if (end != std::string::npos) message.resize(end);
  return message.empty() ? "no answer" : message;
}

// Connects with a time-out of its own unless the URL names one.
PGconn* Connect(const std::string& url, std::string& error) {
  const char* keys[] = {"connect_timeout", "application_name", "dbname", nullptr};
  const char* values[] = {"5", "kova-upgrader", url.c_str(), nullptr};
  PGconn* connection = PQconnectdbParams(keys, values, 1);
  if (PQstatus(connection) == CONNECTION_OK) {
    // The server's notices ("already exists, skipping") are nobody's business.
    PQsetNoticeProcessor(
        connection, [](void*, const char*) {}, nullptr);
    return connection;
  }
  error = Message(PQerrorMessage(connection));
  PQfinish(connection);
  return nullptr;
}

// Runs sql with text parameters; "" when it did.
std::string Run(PGconn* connection, const char* sql, const std::vector<const char*>& params = {},
                std::string* firstValue = nullptr) {
  // Without parameters, a text of several statements (a migration) runs too.
  PGresult* result = params.empty() ? PQexec(connection, sql)
                                    : PQexecParams(connection, sql, static_cast<int>(params.size()),
                                                   nullptr, params.data(), nullptr, nullptr, 0);
  const ExecStatusType status = PQresultStatus(result);
  std::string error;
  if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
    error = Message(PQerrorMessage(connection));
  else if (firstValue && PQntuples(result) > 0)
    *firstValue = PQgetvalue(result, 0, 0);
  PQclear(result);
  return error;
}

// Brings the tables to the newest schema this program knows; a newer one
// is left as it is (its migrations only add).
std::string Migrate(PGconn* connection) {
  std::string version, error;
  const std::string lock = std::string("SELECT pg_advisory_xact_lock(") + kLockKey + ")";
  if (!(error = Run(connection, "BEGIN")).empty() ||
      !(error = Run(connection, lock.c_str())).empty() ||
      !(error = Run(connection,
                    "CREATE TABLE IF NOT EXISTS kova_schema (version integer PRIMARY KEY, "
                    "applied timestamptz NOT NULL DEFAULT now())"))
           .empty() ||
      !(error = Run(connection, "SELECT COALESCE(max(version), 0) FROM kova_schema", {}, &version))
           .empty()) {
    Run(connection, "ROLLBACK");
    return error;
  }
  const auto& migrations = PqRecordsDatabase::Migrations();
  for (std::size_t n = static_cast<std::size_t>(std::stoi(version)); n < migrations.size(); ++n) {
    const std::string number = std::to_string(n + 1);
    if (!(error = Run(connection, migrations[n].c_str())).empty() ||
        !(error = Run(connection, "INSERT INTO kova_schema (version) VALUES ($1::integer)",
                      {number.c_str()}))
             .empty()) {
      Run(connection, "ROLLBACK");
      return "schema version " + number + ": " + error;
    }
  }
  return Run(connection, "COMMIT");
}
}  // namespace

const std::vector<std::string>& PqRecordsDatabase::Migrations() {
  static const std::vector<std::string> migrations = {
      // 1: one row per attempt
      "CREATE TABLE kova_records (attempt text PRIMARY KEY, time timestamptz NOT NULL, "
      "modem text NOT NULL, mac text, interface text, operation text NOT NULL, "
      "version_before text, version_after text, image_name text, image_size bigint, "
      "image_sha256 text, outcome text NOT NULL, duration_s double precision NOT NULL, "
      "holds text, verified_sha256 text, backup_image text, backup_name text, "
      "backup_size bigint, backup_sha256 text, backup_checksum_sha256 text, signed_by text, "
      "dns_primary text, dns_secondary text, arrived timestamptz NOT NULL DEFAULT now())",
      // 2: the station PC and the failure code; what the line's queries select by
      "ALTER TABLE kova_records ADD COLUMN station text, ADD COLUMN reason_code text; "
      "CREATE INDEX kova_records_time ON kova_records (time); "
      "CREATE INDEX kova_records_mac ON kova_records (mac)",
  };
  return migrations;
}

std::string PqRecordsDatabase::UrlProblem(const std::string& url) {
  const bool uri = url.rfind("postgresql://", 0) == 0 || url.rfind("postgres://", 0) == 0;
  if (!uri && url.find('=') == std::string::npos)
    return "a postgresql:// or postgres:// URL, or key=value pairs, is needed";
  char* error = nullptr;
  PQconninfoOption* options = PQconninfoParse(url.c_str(), &error);
  if (options) {
    PQconninfoFree(options);
    return "";
  }
  std::string message = Message(error);
  PQfreemem(error);
  return message;
}

PqRecordsDatabase::PqRecordsDatabase(std::string url)
    : url_(std::move(url)), worker_([this] { work(); }) {}

PqRecordsDatabase::~PqRecordsDatabase() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
    job_.reset();
  }
  wake_.notify_one();
  worker_.join();
}

void PqRecordsDatabase::write(std::vector<std::string> rows) {
  writing_ = true;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    job_ = std::move(rows);
  }
  wake_.notify_one();
}

void PqRecordsDatabase::work() {
  for (;;) {
    std::vector<std::string> rows;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || job_; });
      if (stopping_) break;
      rows = std::move(*job_);
      job_.reset();
    }
    // A connection kept from before may have been cut (a server restart):
    // after a failure on it, one try on a new one. A failed connection is
    // never kept.
    const bool kept = connection_ != nullptr;
    std::string error = writeNow(rows);
    for (int tries = kept ? 2 : 1; !error.empty() && connection_; --tries) {
      PQfinish(connection_);
      connection_ = nullptr;
      if (tries > 1) error = writeNow(rows);
    }
    QMetaObject::invokeMethod(
        &receiver_,
        [this, error] {
          writing_ = false;
          if (onWritten) onWritten(error);
        },
        Qt::QueuedConnection);
  }
  if (connection_) PQfinish(connection_);
}

std::string PqRecordsDatabase::writeNow(const std::vector<std::string>& rows) {
  std::string error;
  if (!connection_) {
    connection_ = Connect(url_, error);
    if (!connection_) return error;
    if (!(error = Migrate(connection_)).empty()) {
      PQfinish(connection_);
      connection_ = nullptr;
      return error;
    }
  }
  if (!(error = Run(connection_, "BEGIN")).empty()) return error;
  for (const auto& row : rows)
    if (!(error = Run(connection_, kInsert, {row.c_str()})).empty()) {
      Run(connection_, "ROLLBACK");
      return error;
    }
  return Run(connection_, "COMMIT");
}

std::optional<std::vector<std::string>> PqRecordsDatabase::read(const std::string& since,
                                                                const std::string& until,
                                                                std::string& error) {
  PGconn* connection = Connect(url_, error);
  if (!connection) return std::nullopt;
  std::optional<std::vector<std::string>> rows;
  if ((error = Migrate(connection)).empty()) {
    const char* params[] = {since.c_str(), until.c_str()};
    PGresult* result = PQexecParams(connection, kSelect, 2, nullptr, params, nullptr, nullptr, 0);
    if (PQresultStatus(result) == PGRES_TUPLES_OK) {
      rows.emplace();
      for (int i = 0; i < PQntuples(result); ++i) rows->push_back(PQgetvalue(result, i, 0));
    } else {
      error = Message(PQerrorMessage(connection));
    }
    PQclear(result);
  }
  PQfinish(connection);
  return rows;
}
