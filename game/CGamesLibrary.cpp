#include "game/CGamesLibrary.h"

#include "platform/DataFiles.h"

#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <thread>
#include <utility>

namespace {

// The schema, one step per version: step i brings version i to i + 1. A step
// is never changed once released; a change of schema is a new step.
const char *const MIGRATIONS[] = {
    // 1: the games and the index List reads them newest first by.
    "CREATE TABLE games ("
    " id INTEGER PRIMARY KEY,"
    " pgn TEXT NOT NULL,"
    " date TEXT NOT NULL,"
    " player_side TEXT NOT NULL CHECK (player_side IN ('white', 'black', 'both')),"
    " opponent TEXT NOT NULL,"
    " level INTEGER,"
    " result TEXT NOT NULL,"
    " reason TEXT NOT NULL,"
    " time_control TEXT NOT NULL,"
    " opening TEXT NOT NULL,"
    " rated INTEGER NOT NULL DEFAULT 0 CHECK (rated IN (0, 1)),"
    " rating_before REAL,"
    " rating_after REAL,"
    " stored_at TEXT NOT NULL);"
    "CREATE INDEX games_by_stored_at ON games (stored_at);",
    // 2: each side's accuracy, known once the game has been reviewed.
    "ALTER TABLE games ADD COLUMN accuracy_white REAL;"
    "ALTER TABLE games ADD COLUMN accuracy_black REAL;",
    // 3: the player's rating deviation and volatility after a rated game, so
    // that the rating can be taken up again from the last one.
    "ALTER TABLE games ADD COLUMN rd_after REAL;"
    "ALTER TABLE games ADD COLUMN volatility_after REAL;",
};
static_assert(sizeof(MIGRATIONS) / sizeof(MIGRATIONS[0]) == CGamesLibrary::SCHEMA_VERSION,
              "one migration per schema version");

const char *const COLUMNS = "id, pgn, date, player_side, opponent, level, result, reason, time_control, opening, "
                            "accuracy_white, accuracy_black, rated, rating_before, rating_after, stored_at, rd_after, "
                            "volatility_after";

// The codes of a file that is no database or a damaged one.
bool IsBroken(int rc) {
  const int primary = rc & 0xff;
  return primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT;
}

std::string Describe(sqlite3 *db, int rc, const std::string &what, const std::string &path) {
  std::string reason = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
  if ((rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED)
    reason = "it stayed locked by another program for over " + std::to_string(CGamesLibrary::BUSY_TIMEOUT_MS) + " ms";
  return what + " " + path + ": " + reason;
}

// A prepared statement, finalised however the scope is left.
class Statement {
public:
  Statement(sqlite3 *db, const char *sql) { rc = sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr); }
  ~Statement() { sqlite3_finalize(stmt); }
  Statement(const Statement &) = delete;
  Statement &operator=(const Statement &) = delete;

  bool Ok() const { return rc == SQLITE_OK || rc == SQLITE_ROW || rc == SQLITE_DONE; }
  int Code() const { return rc; }
  sqlite3_stmt *Get() const { return stmt; }

  void Bind(int i, const std::string &text) {
    if (Ok())
      rc = sqlite3_bind_text(stmt, i, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  }
  void Bind(int i, long long value) {
    if (Ok())
      rc = sqlite3_bind_int64(stmt, i, value);
  }
  void Bind(int i, const std::optional<double> &value) {
    if (Ok())
      rc = value ? sqlite3_bind_double(stmt, i, *value) : sqlite3_bind_null(stmt, i);
  }
  void Bind(int i, const std::optional<int> &value) {
    if (Ok())
      rc = value ? sqlite3_bind_int(stmt, i, *value) : sqlite3_bind_null(stmt, i);
  }
  // True while there is a row; afterwards Code() tells SQLITE_DONE from a failure.
  bool Step() {
    if (!Ok())
      return false;
    rc = sqlite3_step(stmt);
    return rc == SQLITE_ROW;
  }

  std::string Text(int i) const {
    const unsigned char *text = sqlite3_column_text(stmt, i);
    return text ? std::string(reinterpret_cast<const char *>(text), sqlite3_column_bytes(stmt, i)) : std::string();
  }
  std::optional<double> Real(int i) const {
    if (sqlite3_column_type(stmt, i) == SQLITE_NULL)
      return std::nullopt;
    return sqlite3_column_double(stmt, i);
  }
  std::optional<int> Int(int i) const {
    if (sqlite3_column_type(stmt, i) == SQLITE_NULL)
      return std::nullopt;
    return sqlite3_column_int(stmt, i);
  }

private:
  sqlite3_stmt *stmt = nullptr;
  int rc = SQLITE_OK;
};

int Exec(sqlite3 *db, const char *sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }

const char *SideName(PlayerSide side) {
  switch (side) {
  case PlayerSide::White:
    return "white";
  case PlayerSide::Black:
    return "black";
  case PlayerSide::Both:
    break;
  }
  return "both";
}

PlayerSide SideFromName(const std::string &name) {
  return name == "white" ? PlayerSide::White : name == "black" ? PlayerSide::Black : PlayerSide::Both;
}

GameEntry ReadRow(const Statement &row) {
  GameEntry game;
  game.id = sqlite3_column_int64(row.Get(), 0);
  game.pgn = row.Text(1);
  game.date = row.Text(2);
  game.side = SideFromName(row.Text(3));
  game.opponent = row.Text(4);
  game.level = row.Int(5);
  game.result = row.Text(6);
  game.reason = row.Text(7);
  game.timeControl = row.Text(8);
  game.opening = row.Text(9);
  game.accuracyWhite = row.Real(10);
  game.accuracyBlack = row.Real(11);
  game.rated = sqlite3_column_int(row.Get(), 12) != 0;
  game.ratingBefore = row.Real(13);
  game.ratingAfter = row.Real(14);
  game.storedAt = row.Text(15);
  game.rdAfter = row.Real(16);
  game.volatilityAfter = row.Real(17);
  return game;
}

// Every row of a query as games; false, with error and no games, on failure.
bool ReadRows(sqlite3 *db, Statement &query, const std::string &path, std::vector<GameEntry> &games,
              std::string &error) {
  while (query.Step())
    games.push_back(ReadRow(query));
  if (query.Code() != SQLITE_DONE) {
    error = Describe(db, query.Code(), "cannot read", path);
    games.clear();
    return false;
  }
  return true;
}

std::string Folder(const std::string &path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

std::string CGamesLibrary::DefaultPath() {
  const std::string home = platform::DataHome();
  return home.empty() ? "" : home + "/kelvar/games.sqlite";
}

bool CGamesLibrary::Open(const std::string &file, std::string &error) {
  std::string notice;
  return Open(file, error, notice);
}

bool CGamesLibrary::Open(const std::string &file, std::string &error, std::string &notice) {
  Close();
  notice.clear();
  path = file;
  if (path.empty()) {
    error = "no folder for the games library (neither XDG_DATA_HOME nor HOME is set)";
    return false;
  }
  if (!platform::MakeFolders(Folder(path), error))
    return false;
  std::string reason;
  const OpenOutcome first = TryOpen(reason);
  if (first == OpenOutcome::Ok)
    return true;
  if (first == OpenOutcome::Failed) {
    error = reason;
    return false;
  }
  // Not a database, or a damaged one: kept unread under a dated name, with
  // the journal files that belong to it, and a new library started.
  std::string moveError;
  const std::string aside = platform::MoveAside(path, moveError);
  if (aside.empty()) {
    error = reason + "; it could not be moved aside: " + moveError;
    return false;
  }
  for (const char *suffix : {"-wal", "-shm"})
    if (platform::PathExists(path + suffix))
      std::rename((path + suffix).c_str(), (aside + suffix).c_str());
  if (TryOpen(error) != OpenOutcome::Ok)
    return false;
  notice = "The games library could not be read (" + reason + "). It was kept as " + aside +
           " and a new, empty library was started.";
  return true;
}

CGamesLibrary::OpenOutcome CGamesLibrary::TryOpen(std::string &error) {
  Close();
  int rc =
      sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
  const auto fail = [&](int code, const char *what) {
    error = Describe(db, code, what, path);
    Close();
    return IsBroken(code) ? OpenOutcome::Broken : OpenOutcome::Failed;
  };
  if (rc != SQLITE_OK)
    return fail(rc, "cannot open");
  sqlite3_busy_timeout(db, BUSY_TIMEOUT_MS);
  // Until the file has proved to be a database, closing it must not delete
  // a -wal file beside it: that goes aside with a broken file, unread.
  int keepWal = 1;
  sqlite3_file_control(db, "main", SQLITE_FCNTL_PERSIST_WAL, &keepWal);

  // The first read of the file: a file that is no database fails here. The
  // whole check runs once a path; a later open of the same file (the game
  // opens it for each store) finds a broken file at its first read below.
  if (checkedPath != path) {
    Statement check(db, "PRAGMA quick_check");
    if (!check.Step())
      return fail(check.Code(), "cannot read");
    const std::string verdict = check.Text(0);
    if (verdict != "ok") {
      error = "cannot read " + path + ": " + verdict;
      Close();
      return OpenOutcome::Broken;
    }
  }
  // A read-only file is still listed; writing to it reports the error then.
  const bool readOnly = sqlite3_db_readonly(db, "main") == 1;
  if (!readOnly) {
    // WAL lets a second copy of the game read and write while this one does;
    // NORMAL syncs at checkpoints only, which in WAL mode still never
    // damages the database, a commit at most being lost in a power cut.
    // The switch reads the header and then writes it within one statement.
    // SQLite does not wait on a lock taken between the two (waiting could
    // deadlock two copies doing the same), so a copy that opens a new file
    // alongside another is refused at once: it tries again until the time
    // any other lock is waited for has passed.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(BUSY_TIMEOUT_MS);
    for (;;) {
      Statement wal(db, "PRAGMA journal_mode=WAL");
      if (wal.Step())
        break;
      const int walCode = wal.Code();
      if ((walCode & 0xff) != SQLITE_BUSY || std::chrono::steady_clock::now() >= deadline)
        return fail(walCode, "cannot open");
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
  rc = Exec(db, "PRAGMA synchronous=NORMAL");
  if (rc != SQLITE_OK)
    return fail(rc, "cannot open");
  bool broken = false;
  if (!Migrate(error, broken)) {
    Close();
    return broken ? OpenOutcome::Broken : OpenOutcome::Failed;
  }
  keepWal = 0;
  sqlite3_file_control(db, "main", SQLITE_FCNTL_PERSIST_WAL, &keepWal);
  checkedPath = path;
  return OpenOutcome::Ok;
}

bool CGamesLibrary::Migrate(std::string &error, bool &broken) {
  const auto readVersion = [&](int &version) {
    Statement query(db, "PRAGMA user_version");
    if (!query.Step())
      return query.Code();
    version = sqlite3_column_int(query.Get(), 0);
    return SQLITE_OK;
  };
  int version = 0;
  int rc = readVersion(version);
  if (rc == SQLITE_OK && version == SCHEMA_VERSION)
    return true;
  // Another copy of the game may be migrating the same file: the write lock
  // is taken first and the version read again under it.
  if (rc == SQLITE_OK)
    rc = Exec(db, "BEGIN IMMEDIATE");
  if (rc == SQLITE_OK)
    rc = readVersion(version);
  if (rc == SQLITE_OK && version > SCHEMA_VERSION) {
    Exec(db, "ROLLBACK");
    error = "cannot use " + path + ": it was written by a newer version of Kelvar (schema " + std::to_string(version) +
            ", this one knows " + std::to_string(SCHEMA_VERSION) + ")";
    return false;
  }
  for (int step = version; rc == SQLITE_OK && step < SCHEMA_VERSION; ++step)
    rc = Exec(db, MIGRATIONS[step]);
  if (rc == SQLITE_OK)
    rc = Exec(db, ("PRAGMA user_version = " + std::to_string(SCHEMA_VERSION)).c_str());
  if (rc == SQLITE_OK)
    rc = Exec(db, "COMMIT");
  if (rc != SQLITE_OK) {
    error = Describe(db, rc, "cannot update", path);
    broken = IsBroken(rc);
    if (!sqlite3_get_autocommit(db))
      Exec(db, "ROLLBACK");
    return false;
  }
  return true;
}

void CGamesLibrary::Close() {
  if (db)
    sqlite3_close_v2(db);
  db = nullptr;
}

long long CGamesLibrary::Store(const GameEntry &game, std::string &error) {
  GameEntry stored = game;
  return StoreRated(stored, nullptr, error);
}

long long CGamesLibrary::StoreRated(GameEntry &game, const RateFunction &rate, std::string &error) {
  if (!db) {
    error = "the games library is not open";
    return 0;
  }
  // The write lock is taken before the last rating is read: another copy of
  // the game storing a rated game at the same moment rates after this one.
  int rc = Exec(db, "BEGIN IMMEDIATE");
  if (rc == SQLITE_OK && rate) {
    chess::Rating before;
    rc = ReadLastRating(before);
    if (rc == SQLITE_OK)
      rate(before, game);
  }
  long long id = 0;
  if (rc == SQLITE_OK) {
    Statement insert(db, "INSERT INTO games (pgn, date, player_side, opponent, level, result, reason, time_control,"
                         " opening, accuracy_white, accuracy_black, rated, rating_before, rating_after, rd_after,"
                         " volatility_after, stored_at)"
                         " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?,"
                         " strftime('%Y-%m-%dT%H:%M:%fZ', 'now'))");
    insert.Bind(1, game.pgn);
    insert.Bind(2, game.date);
    insert.Bind(3, std::string(SideName(game.side)));
    insert.Bind(4, game.opponent);
    insert.Bind(5, game.level);
    insert.Bind(6, game.result);
    insert.Bind(7, game.reason);
    insert.Bind(8, game.timeControl);
    insert.Bind(9, game.opening);
    insert.Bind(10, game.accuracyWhite);
    insert.Bind(11, game.accuracyBlack);
    insert.Bind(12, static_cast<long long>(game.rated));
    insert.Bind(13, game.ratingBefore);
    insert.Bind(14, game.ratingAfter);
    insert.Bind(15, game.rdAfter);
    insert.Bind(16, game.volatilityAfter);
    insert.Step();
    rc = insert.Code() == SQLITE_DONE ? SQLITE_OK : insert.Code();
    id = sqlite3_last_insert_rowid(db);
  }
  if (rc == SQLITE_OK)
    rc = Exec(db, "COMMIT");
  if (rc != SQLITE_OK) {
    error = Describe(db, rc, "cannot store the game in", path);
    if (!sqlite3_get_autocommit(db))
      Exec(db, "ROLLBACK");
    return 0;
  }
  return id;
}

int CGamesLibrary::ReadLastRating(chess::Rating &rating) const {
  rating = chess::Rating();
  Statement query(db, "SELECT rating_after, rd_after, volatility_after FROM games WHERE rated = 1"
                      " AND rating_after IS NOT NULL ORDER BY stored_at DESC, id DESC LIMIT 1");
  if (query.Step()) {
    rating.rating = *query.Real(0);
    // A game stored before deviations were kept: its rating with a new
    // player's deviation and volatility.
    rating.rd = query.Real(1).value_or(rating.rd);
    rating.volatility = query.Real(2).value_or(rating.volatility);
    return SQLITE_OK;
  }
  return query.Code() == SQLITE_DONE ? SQLITE_OK : query.Code();
}

bool CGamesLibrary::LastRating(chess::Rating &rating, std::string &error) const {
  if (!db) {
    error = "the games library is not open";
    return false;
  }
  const int rc = ReadLastRating(rating);
  if (rc != SQLITE_OK) {
    error = Describe(db, rc, "cannot read", path);
    return false;
  }
  return true;
}

bool CGamesLibrary::SetAccuracy(long long id, double white, double black, std::string &error) {
  if (!db) {
    error = "the games library is not open";
    return false;
  }
  Statement update(db, "UPDATE games SET accuracy_white = ?, accuracy_black = ? WHERE id = ?");
  update.Bind(1, std::optional<double>(white));
  update.Bind(2, std::optional<double>(black));
  update.Bind(3, id);
  update.Step();
  if (update.Code() != SQLITE_DONE) {
    error = Describe(db, update.Code(), "cannot update", path);
    return false;
  }
  if (sqlite3_changes(db) == 0) {
    error = "no game " + std::to_string(id) + " in " + path;
    return false;
  }
  return true;
}

bool CGamesLibrary::List(const GameFilter &filter, std::vector<GameEntry> &games, std::string &error) const {
  games.clear();
  if (!db) {
    error = "the games library is not open";
    return false;
  }
  // The stored time's index gives the order; the id breaks ties within a
  // millisecond (it rises with every store).
  std::string sql = std::string("SELECT ") + COLUMNS + " FROM games WHERE 1";
  if (filter.result)
    sql += " AND result = :result";
  if (filter.level)
    sql += " AND level = :level";
  sql += " ORDER BY stored_at DESC, id DESC";
  if (filter.limit > 0)
    sql += " LIMIT :limit";
  Statement query(db, sql.c_str());
  if (filter.result)
    query.Bind(sqlite3_bind_parameter_index(query.Get(), ":result"), *filter.result);
  if (filter.level)
    query.Bind(sqlite3_bind_parameter_index(query.Get(), ":level"), filter.level);
  if (filter.limit > 0)
    query.Bind(sqlite3_bind_parameter_index(query.Get(), ":limit"), static_cast<long long>(filter.limit));
  return ReadRows(db, query, path, games, error);
}

bool CGamesLibrary::Get(long long id, GameEntry &game, std::string &error) const {
  error.clear();
  if (!db) {
    error = "the games library is not open";
    return false;
  }
  Statement query(db, (std::string("SELECT ") + COLUMNS + " FROM games WHERE id = ?").c_str());
  query.Bind(1, id);
  if (query.Step()) {
    game = ReadRow(query);
    return true;
  }
  if (query.Code() != SQLITE_DONE)
    error = Describe(db, query.Code(), "cannot read", path);
  return false;
}

bool CGamesLibrary::Delete(long long id, std::string &error) {
  if (!db) {
    error = "the games library is not open";
    return false;
  }
  Statement remove(db, "DELETE FROM games WHERE id = ?");
  remove.Bind(1, id);
  remove.Step();
  if (remove.Code() != SQLITE_DONE) {
    error = Describe(db, remove.Code(), "cannot delete from", path);
    return false;
  }
  if (sqlite3_changes(db) == 0) {
    error = "no game " + std::to_string(id) + " in " + path;
    return false;
  }
  return true;
}

long long CGamesLibrary::Count(std::string &error) const {
  if (!db) {
    error = "the games library is not open";
    return -1;
  }
  Statement query(db, "SELECT count(*) FROM games");
  if (!query.Step()) {
    error = Describe(db, query.Code(), "cannot read", path);
    return -1;
  }
  return sqlite3_column_int64(query.Get(), 0);
}

bool CGamesLibrary::ExportAll(const std::string &file, std::string &error) const {
  if (!db) {
    error = "the games library is not open";
    return false;
  }
  std::string text;
  Statement query(db, "SELECT pgn FROM games ORDER BY id");
  while (query.Step()) {
    std::string pgn = query.Text(0);
    const size_t end = pgn.find_last_not_of(" \t\r\n");
    if (end == std::string::npos)
      continue; // an empty record adds nothing to the file
    pgn.erase(end + 1);
    if (!text.empty())
      text += "\n";
    text += pgn + "\n";
  }
  if (query.Code() != SQLITE_DONE) {
    error = Describe(db, query.Code(), "cannot read", path);
    return false;
  }
  return platform::WriteFileAtomically(file, text, error);
}

// --- Read-only queries for the Games window ---

bool CGamesLibrary::ListWithoutPgn(std::vector<GameEntry> &games, std::string &error) const {
  games.clear();
  if (!db) {
    error = "the games library is not open";
    return false;
  }
  // The columns List reads, an empty text in the PGN text's place.
  std::string columns = COLUMNS;
  columns.replace(columns.find("pgn"), 3, "''");
  Statement query(db, ("SELECT " + columns + " FROM games ORDER BY stored_at DESC, id DESC").c_str());
  return ReadRows(db, query, path, games, error);
}
