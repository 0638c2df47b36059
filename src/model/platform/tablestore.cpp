#include "platform/tablestore.h"

#include <sqlite3.h>

#include <algorithm>

#include "core/numbers.h"
#include "core/text.h"

namespace velmora {
namespace {

constexpr const char* kNameCollation = "VELMORA_NAME";


int CompareNames(void*, int lengthA, const void* a, int lengthB, const void* b)
{
    return CompareNameTexts(std::string_view(static_cast<const char*>(a), static_cast<std::size_t>(lengthA)),
                            std::string_view(static_cast<const char*>(b), static_cast<std::size_t>(lengthB)));
}

bool IsNameIndex(const IndexDef& index) { return EqualsIgnoreCase(index.name, "livsmedel"); }

}  // namespace

std::string QuoteIdentifier(std::string_view identifier)
{
    std::string quoted = "\"";
    for (char c : identifier) {
        quoted += c;
        if (c == '"') quoted += '"';
    }
    return quoted + "\"";
}

int TableDef::FieldPosition(std::string_view fieldName) const
{
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (EqualsIgnoreCase(fields[i].name, fieldName)) return static_cast<int>(i);
    }
    return -1;
}

// ---------------------------------------------------------------------------------------------
Database::~Database() { Close(); }

Status Database::Open(const std::filesystem::path& path, bool create)
{
    Close();
    m_path = path;
    int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
    if (sqlite3_open_v2(path.c_str(), &m_db, flags, nullptr) != SQLITE_OK) {
        std::string error = m_db ? sqlite3_errmsg(m_db) : "out of memory";
        Close();
        return Status::Error("Kan inte öppna tabellfilen " + path.string() + ": " + error);
    }
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, 2000);
    sqlite3_create_collation(m_db, kNameCollation, SQLITE_UTF8, nullptr, CompareNames);

    sqlite3_stmt* stmt = nullptr;
    int version = -1;
    if (sqlite3_prepare_v2(m_db, "PRAGMA user_version", -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW) {
        version = sqlite3_column_int(stmt, 0);
    }
    sqlite3_finalize(stmt);
    if (version < 0) {
        std::string error = sqlite3_errmsg(m_db);
        Close();
        return Status::Error("Tabellfilen " + path.string() + " är skadad eller ingen databas: " + error);
    }
    if (version > kTablesSchemaVersion) {
        Close();
        return Status::Error("Tabellfilen " + path.string() + " kommer från en nyare version av programmet (version " +
                             std::to_string(version) + ").");
    }
    if (create && version == 0) {
        Exec("PRAGMA user_version = " + std::to_string(kTablesSchemaVersion));
    } else if (!create && version == 0 && !HasTable("nalvex100")) {
        Close();
        return Status::Error("Tabellfilen " + path.string() + " saknar programmets tabeller.");
    }
    // Integrity of a file that opens but is damaged inside shows on the first real query; check now.
    if (!create) {
        sqlite3_stmt* check = nullptr;
        bool healthy = sqlite3_prepare_v2(m_db, "PRAGMA quick_check", -1, &check, nullptr) == SQLITE_OK &&
                       sqlite3_step(check) == SQLITE_ROW &&
                       std::string_view(reinterpret_cast<const char*>(sqlite3_column_text(check, 0))) == "ok";
        sqlite3_finalize(check);
        if (!healthy) {
            Close();
            return Status::Error("Tabellfilen " + path.string() + " är skadad.");
        }
    }
    return Status::Ok();
}

void Database::Close()
{
    if (m_db) sqlite3_close_v2(m_db);
    m_db = nullptr;
}

std::string Database::LastError() const { return m_db ? sqlite3_errmsg(m_db) : "ingen databas"; }

Status Database::Exec(std::string_view sql)
{
    if (!m_db) return Status::Error("Ingen databas är öppen.");
    char* error = nullptr;
    std::string statement(sql);
    if (sqlite3_exec(m_db, statement.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::string message = error ? error : "okänt fel";
        sqlite3_free(error);
        return Status::Error(message);
    }
    return Status::Ok();
}

bool Database::HasTable(std::string_view name) const
{
    if (!m_db) return false;
    sqlite3_stmt* stmt = nullptr;
    bool found = false;
    if (sqlite3_prepare_v2(m_db, "SELECT 1 FROM sqlite_master WHERE type='table' AND name=?1 COLLATE NOCASE", -1,
                           &stmt, nullptr) == SQLITE_OK) {
        sqlite3_bind_text(stmt, 1, name.data(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
        found = sqlite3_step(stmt) == SQLITE_ROW;
    }
    sqlite3_finalize(stmt);
    return found;
}

Status Database::CreateTable(const TableDef& def)
{
    std::string sql = "CREATE TABLE " + QuoteIdentifier(def.name) + " (";
    for (std::size_t i = 0; i < def.fields.size(); ++i) {
        const FieldDef& field = def.fields[i];
        if (i) sql += ", ";
        sql += QuoteIdentifier(field.name);
        switch (field.type) {
        case FieldType::Text: sql += " TEXT"; break;
        case FieldType::Real: sql += " REAL"; break;
        case FieldType::Integer: sql += " INTEGER"; break;
        }
        for (const IndexDef& index : def.indexes) {
            if (IsNameIndex(index) && EqualsIgnoreCase(index.field, field.name)) {
                sql += std::string(" COLLATE ") + kNameCollation;
            }
        }
    }
    sql += ")";
    if (Status status = Exec(sql); !status) return status;
    for (const IndexDef& index : def.indexes) {
        std::string indexName = def.name + "_" + (index.name.empty() ? std::string("primary") : index.name);
        std::string create = std::string("CREATE ") + (index.unique ? "UNIQUE " : "") + "INDEX " + QuoteIdentifier(indexName) +
                             " ON " + QuoteIdentifier(def.name) + " (" + QuoteIdentifier(index.field) + ")";
        if (Status status = Exec(create); !status) return status;
    }
    return Status::Ok();
}

// ---------------------------------------------------------------------------------------------
Table::~Table() { Close(); }

Status Table::Open(Database& db, const TableDef& def)
{
    Close();
    if (!db.IsOpen()) return Status::Error("Ingen databas är öppen.");
    if (!db.HasTable(def.name)) return Status::Error("Tabellen " + def.name + " finns inte i " + db.Path().string());
    m_dbOwner = &db;
    m_db = db.Handle();
    m_def = def;
    m_values.assign(def.fields.size(), Value{});
    m_changed.assign(def.fields.size(), false);
    m_indexName.clear();
    return Status::Ok();
}

void Table::Close()
{
    FinalizeWalk();
    for (auto& [index, stmt] : m_findStatements) sqlite3_finalize(stmt);
    m_findStatements.clear();
    m_db = nullptr;
    m_dbOwner = nullptr;
    m_hasRecord = false;
    m_mode = Mode::Browse;
}

Status Table::SetIndex(std::string_view indexName)
{
    for (const IndexDef& index : m_def.indexes) {
        if (EqualsIgnoreCase(index.name, indexName)) {
            m_indexName = index.name;
            FinalizeWalk();
            return Status::Ok();
        }
    }
    return Status::Error("Tabellen " + m_def.name + " har inget index " + std::string(indexName));
}

const IndexDef* Table::CurrentIndex() const
{
    for (const IndexDef& index : m_def.indexes) {
        if (index.name == m_indexName) return &index;
    }
    return m_def.indexes.empty() ? nullptr : &m_def.indexes.front();
}

std::string Table::KeyExpression() const
{
    const IndexDef* index = CurrentIndex();
    return index ? QuoteIdentifier(index->field) : std::string("rowid");
}

std::string Table::SelectColumns() const
{
    std::string columns = "rowid";
    for (const FieldDef& field : m_def.fields) columns += ", " + QuoteIdentifier(field.name);
    return columns;
}

void Table::FinalizeWalk()
{
    if (m_walk) sqlite3_finalize(m_walk);
    m_walk = nullptr;
}

void Table::ReadRow(sqlite3_stmt* stmt)
{
    m_rowid = sqlite3_column_int64(stmt, 0);
    for (std::size_t i = 0; i < m_values.size(); ++i) {
        int column = static_cast<int>(i) + 1;
        Value& value = m_values[i];
        int type = sqlite3_column_type(stmt, column);
        value.null = type == SQLITE_NULL;
        value.numeric = type == SQLITE_INTEGER || type == SQLITE_FLOAT;
        value.number = value.numeric ? sqlite3_column_double(stmt, column) : 0.0;
        // A float's text is made only when asked for (FieldText): most reads want the number.
        value.isFloat = type == SQLITE_FLOAT;
        if (value.isFloat) {
            value.text.clear();
        } else {
            const unsigned char* text = sqlite3_column_text(stmt, column);
            value.text = text ? std::string(reinterpret_cast<const char*>(text),
                                            static_cast<std::size_t>(sqlite3_column_bytes(stmt, column)))
                              : std::string();
        }
        if (!value.numeric && !value.null && m_def.fields[i].type != FieldType::Text) {
            value.number = ParseDecimal(value.text);
        }
    }
    m_hasRecord = true;
}

void Table::StepWalk()
{
    if (m_walk && sqlite3_step(m_walk) == SQLITE_ROW) {
        ReadRow(m_walk);
    } else {
        m_hasRecord = false;
        FinalizeWalk();
    }
}

void Table::First()
{
    Cancel();
    FinalizeWalk();
    m_hasRecord = false;
    if (!m_db) return;
    std::string sql = "SELECT " + SelectColumns() + " FROM " + QuoteIdentifier(m_def.name) + " ORDER BY " + KeyExpression() +
                      ", rowid";
    if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &m_walk, nullptr) != SQLITE_OK) {
        FinalizeWalk();
        return;
    }
    StepWalk();
}

Status Table::ReadFieldTexts(const std::vector<int>& positions,
                             const std::function<bool(const std::vector<std::string>&)>& record) const
{
    if (!m_db) return Status::Error("Tabellen " + m_def.name + " är inte öppen.");
    std::string columns;
    for (int position : positions) {
        if (position < 0 || position >= FieldCount()) return Status::Error("Tabellen " + m_def.name + " saknar ett fält.");
        columns += (columns.empty() ? "" : ", ") + QuoteIdentifier(m_def.fields[static_cast<std::size_t>(position)].name);
    }
    if (columns.empty()) columns = "rowid";
    std::string sql = "SELECT " + columns + " FROM " + QuoteIdentifier(m_def.name) + " ORDER BY " + KeyExpression() + ", rowid";
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt);
        return Status::Error(sqlite3_errmsg(m_db));
    }
    std::vector<std::string> texts(positions.size());
    int result = SQLITE_ROW;
    while ((result = sqlite3_step(stmt)) == SQLITE_ROW) {
        for (std::size_t i = 0; i < positions.size(); ++i) {
            const int column = static_cast<int>(i);
            if (sqlite3_column_type(stmt, column) == SQLITE_FLOAT) {
                texts[i] = FloatText(static_cast<float>(sqlite3_column_double(stmt, column)));
            } else {
                const unsigned char* text = sqlite3_column_text(stmt, column);
                texts[i].assign(text ? reinterpret_cast<const char*>(text) : "",
                                text ? static_cast<std::size_t>(sqlite3_column_bytes(stmt, column)) : 0);
            }
        }
        if (!record(texts)) break;
    }
    Status status = result == SQLITE_ROW || result == SQLITE_DONE ? Status::Ok() : Status::Error(sqlite3_errmsg(m_db));
    sqlite3_finalize(stmt);
    return status;
}

void Table::Next()
{
    Cancel();
    if (!m_hasRecord || !m_db) return;
    if (m_walk) {
        StepWalk();
        return;
    }
    // Continue from the current record in index order (after a find, a last or a post).
    const IndexDef* index = CurrentIndex();
    std::string key = KeyExpression();
    std::string sql = "SELECT " + SelectColumns() + " FROM " + QuoteIdentifier(m_def.name) + " WHERE (" + key +
                      ", rowid) > (?1, ?2) ORDER BY " + key + ", rowid";
    if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &m_walk, nullptr) != SQLITE_OK) {
        FinalizeWalk();
        m_hasRecord = false;
        return;
    }
    int position = index ? m_def.FieldPosition(index->field) : -1;
    const Value* current = position >= 0 ? &m_values[static_cast<std::size_t>(position)] : nullptr;
    if (!current || current->null) {
        sqlite3_bind_null(m_walk, 1);
    } else if (current->numeric) {
        sqlite3_bind_double(m_walk, 1, current->number);
    } else {
        sqlite3_bind_text(m_walk, 1, current->text.data(), static_cast<int>(current->text.size()), SQLITE_TRANSIENT);
    }
    sqlite3_bind_int64(m_walk, 2, m_rowid);
    StepWalk();
}

void Table::Last()
{
    Cancel();
    FinalizeWalk();
    m_hasRecord = false;
    if (!m_db) return;
    std::string key = KeyExpression();
    std::string sql = "SELECT " + SelectColumns() + " FROM " + QuoteIdentifier(m_def.name) + " ORDER BY " + key +
                      " DESC, rowid DESC LIMIT 1";
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW) {
        ReadRow(stmt);
    }
    sqlite3_finalize(stmt);
}

sqlite3_stmt* Table::FindStatement()
{
    for (auto& [index, stmt] : m_findStatements) {
        if (index == m_indexName) {
            sqlite3_reset(stmt);
            sqlite3_clear_bindings(stmt);
            return stmt;
        }
    }
    std::string sql = "SELECT " + SelectColumns() + " FROM " + QuoteIdentifier(m_def.name) + " WHERE " + KeyExpression() +
                      " = ?1 ORDER BY rowid LIMIT 1";
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt);
        return nullptr;
    }
    m_findStatements.emplace_back(m_indexName, stmt);
    return stmt;
}

bool Table::FindByValue(const Value& key)
{
    Cancel();
    FinalizeWalk();
    if (!m_db) return false;
    sqlite3_stmt* stmt = FindStatement();
    if (!stmt) return false;
    if (key.numeric) sqlite3_bind_int64(stmt, 1, static_cast<long long>(key.number));
    else sqlite3_bind_text(stmt, 1, key.text.data(), static_cast<int>(key.text.size()), SQLITE_TRANSIENT);
    bool found = false;
    if (sqlite3_step(stmt) == SQLITE_ROW) {
        ReadRow(stmt);
        found = true;
    }
    sqlite3_reset(stmt);
    // A failed search leaves the cursor where it was, as the table engine does.
    return found;
}

bool Table::FindKey(std::string_view key)
{
    Value value;
    value.null = false;
    value.text = std::string(key);
    return FindByValue(value);
}

bool Table::FindKey(long long key)
{
    Value value;
    value.null = false;
    value.numeric = true;
    value.number = static_cast<double>(key);
    return FindByValue(value);
}

int Table::RecordCount() const
{
    if (!m_db) return 0;
    std::string sql = "SELECT COUNT(*) FROM " + QuoteIdentifier(m_def.name);
    sqlite3_stmt* stmt = nullptr;
    int count = 0;
    if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW) {
        count = sqlite3_column_int(stmt, 0);
    }
    sqlite3_finalize(stmt);
    return count;
}

std::string Table::FieldText(int position) const
{
    if (position < 0 || position >= FieldCount() || (!m_hasRecord && m_mode == Mode::Browse)) return {};
    const Value& value = m_values[static_cast<std::size_t>(position)];
    if (value.null) return {};
    // Values are single precision in the program: a float reads as the shortest text of that float.
    if (value.isFloat) return FloatText(static_cast<float>(value.number));
    return value.text;
}

std::string Table::FieldText(std::string_view name) const { return FieldText(FieldPosition(name)); }

double Table::FieldFloat(int position) const
{
    if (position < 0 || position >= FieldCount() || (!m_hasRecord && m_mode == Mode::Browse)) return 0.0;
    const Value& value = m_values[static_cast<std::size_t>(position)];
    return value.null ? 0.0 : value.numeric ? value.number : ParseDecimal(value.text);
}

double Table::FieldFloat(std::string_view name) const { return FieldFloat(FieldPosition(name)); }

long long Table::FieldInt(int position) const { return static_cast<long long>(FieldFloat(position)); }
long long Table::FieldInt(std::string_view name) const { return FieldInt(FieldPosition(name)); }

bool Table::FieldIsEmpty(int position) const
{
    if (position < 0 || position >= FieldCount() || (!m_hasRecord && m_mode == Mode::Browse)) return true;
    const Value& value = m_values[static_cast<std::size_t>(position)];
    return value.null || (!value.isFloat && value.text.empty());
}

void Table::Edit()
{
    if (!m_hasRecord) return;
    m_mode = Mode::Edit;
    std::fill(m_changed.begin(), m_changed.end(), false);
}

void Table::Append()
{
    m_mode = Mode::Append;
    m_values.assign(m_def.fields.size(), Value{});
    m_changed.assign(m_def.fields.size(), false);
}

void Table::SetFieldText(int position, std::string_view text)
{
    if (m_mode == Mode::Browse || position < 0 || position >= FieldCount()) return;
    const FieldDef& field = m_def.fields[static_cast<std::size_t>(position)];
    Value& value = m_values[static_cast<std::size_t>(position)];
    m_changed[static_cast<std::size_t>(position)] = true;
    if (field.type == FieldType::Text) {
        value = Value{false, false, 0.0, CutToCapacity(text, static_cast<std::size_t>(field.capacity))};
        return;
    }
    float number = 0.0f;
    if (TryParseDecimal(text, number)) {
        value = Value{false, true, field.type == FieldType::Integer ? static_cast<double>(static_cast<long long>(number))
                                                                     : static_cast<double>(number),
                      {}};
        value.text = field.type == FieldType::Integer ? std::to_string(static_cast<long long>(value.number))
                                                      : FloatText(number);
    } else {
        value = Value{};
    }
}

void Table::SetFieldText(std::string_view name, std::string_view text) { SetFieldText(FieldPosition(name), text); }

void Table::SetFieldFloat(int position, double value)
{
    if (m_mode == Mode::Browse || position < 0 || position >= FieldCount()) return;
    m_values[static_cast<std::size_t>(position)] = Value{false, true, value, FloatText(static_cast<float>(value))};
    m_changed[static_cast<std::size_t>(position)] = true;
}

void Table::SetFieldInt(int position, long long value)
{
    if (m_mode == Mode::Browse || position < 0 || position >= FieldCount()) return;
    m_values[static_cast<std::size_t>(position)] = Value{false, true, static_cast<double>(value), std::to_string(value)};
    m_changed[static_cast<std::size_t>(position)] = true;
}

void Table::SetFieldEmpty(int position)
{
    if (m_mode == Mode::Browse || position < 0 || position >= FieldCount()) return;
    m_values[static_cast<std::size_t>(position)] = Value{};
    m_changed[static_cast<std::size_t>(position)] = true;
}

Status Table::Post()
{
    if (m_mode == Mode::Browse) return Status::Ok();
    std::string sql;
    std::vector<std::size_t> bound;
    if (m_mode == Mode::Append) {
        std::string names, marks;
        for (std::size_t i = 0; i < m_def.fields.size(); ++i) {
            if (!names.empty()) names += ", ", marks += ", ";
            names += QuoteIdentifier(m_def.fields[i].name);
            marks += "?";
            bound.push_back(i);
        }
        sql = "INSERT INTO " + QuoteIdentifier(m_def.name) + " (" + names + ") VALUES (" + marks + ")";
    } else {
        std::string sets;
        for (std::size_t i = 0; i < m_def.fields.size(); ++i) {
            if (!m_changed[i]) continue;
            if (!sets.empty()) sets += ", ";
            sets += QuoteIdentifier(m_def.fields[i].name) + " = ?";
            bound.push_back(i);
        }
        if (sets.empty()) {
            m_mode = Mode::Browse;
            return Status::Ok();
        }
        sql = "UPDATE " + QuoteIdentifier(m_def.name) + " SET " + sets + " WHERE rowid = " + std::to_string(m_rowid);
    }
    FinalizeWalk();
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
        return Status::Error("Kan inte spara i tabellen " + m_def.name + ": " + sqlite3_errmsg(m_db));
    }
    for (std::size_t k = 0; k < bound.size(); ++k) {
        const Value& value = m_values[bound[k]];
        int parameter = static_cast<int>(k) + 1;
        if (value.null) sqlite3_bind_null(stmt, parameter);
        else if (m_def.fields[bound[k]].type == FieldType::Integer) sqlite3_bind_int64(stmt, parameter, static_cast<long long>(value.number));
        else if (m_def.fields[bound[k]].type == FieldType::Real) sqlite3_bind_double(stmt, parameter, value.number);
        else sqlite3_bind_text(stmt, parameter, value.text.data(), static_cast<int>(value.text.size()), SQLITE_TRANSIENT);
    }
    int rc = sqlite3_step(stmt);
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE) {
        return Status::Error("Kan inte spara i tabellen " + m_def.name + ": " + sqlite3_errmsg(m_db));
    }
    long long rowid = m_mode == Mode::Append ? sqlite3_last_insert_rowid(m_db) : m_rowid;
    m_mode = Mode::Browse;
    LoadByRowId(rowid);
    return Status::Ok();
}

void Table::LoadByRowId(long long rowid)
{
    std::string sql = "SELECT " + SelectColumns() + " FROM " + QuoteIdentifier(m_def.name) + " WHERE rowid = ?1";
    sqlite3_stmt* stmt = nullptr;
    m_hasRecord = false;
    if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK) {
        sqlite3_bind_int64(stmt, 1, rowid);
        if (sqlite3_step(stmt) == SQLITE_ROW) ReadRow(stmt);
    }
    sqlite3_finalize(stmt);
}

void Table::Cancel()
{
    if (m_mode == Mode::Browse) return;
    m_mode = Mode::Browse;
    if (m_hasRecord) LoadByRowId(m_rowid);
}

Status Table::Delete()
{
    Cancel();
    if (!m_hasRecord) return Status::Ok();
    FinalizeWalk();
    std::string sql = "DELETE FROM " + QuoteIdentifier(m_def.name) + " WHERE rowid = " + std::to_string(m_rowid);
    if (Status status = m_dbOwner->Exec(sql); !status) return status;
    // The cursor moves on to the record after the deleted one.
    Next();
    return Status::Ok();
}

}  // namespace velmora
