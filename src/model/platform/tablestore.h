#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/result.h"

struct sqlite3;
struct sqlite3_stmt;

namespace velmora {

// The schema version stamped into tables.sqlite; a database from a newer program is refused.
inline constexpr int kTablesSchemaVersion = 1;

// A table or field name as an SQL identifier: our field names hold blanks and underscores.
std::string QuoteIdentifier(std::string_view identifier);

enum class FieldType { Text, Real, Integer };

struct FieldDef {
    std::string name;
    FieldType type = FieldType::Text;
    int capacity = 20;  // characters, text fields only
};

struct IndexDef {
    std::string name;   // "" is the primary index
    std::string field;
    bool unique = false;
};

struct TableDef {
    std::string name;
    std::vector<FieldDef> fields;
    std::vector<IndexDef> indexes;  // the first is the primary index

    int FieldPosition(std::string_view fieldName) const;  // -1 when absent; case-insensitive
};

// One SQLite database file holding every table under its own name.
class Database {
public:
    Database() = default;
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens an existing database (create = false) or creates a new, empty one.
    Status Open(const std::filesystem::path& path, bool create = false);
    void Close();
    bool IsOpen() const { return m_db != nullptr; }
    sqlite3* Handle() const { return m_db; }
    const std::filesystem::path& Path() const { return m_path; }

    Status Exec(std::string_view sql);
    Status CreateTable(const TableDef& def);
    bool HasTable(std::string_view name) const;
    Status Begin() { return Exec("BEGIN IMMEDIATE"); }
    Status Commit() { return Exec("COMMIT"); }
    void Rollback() { Exec("ROLLBACK"); }
    std::string LastError() const;

private:
    sqlite3* m_db = nullptr;
    std::filesystem::path m_path;
};

// A cursor over one table with the operations the program relies on: choose an index, find by key,
// walk first to last, read fields by name or position, edit, append, post and delete.
class Table {
public:
    Table() = default;
    ~Table();
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    Status Open(Database& db, const TableDef& def);
    void Close();
    bool IsOpen() const { return m_db != nullptr; }
    const TableDef& Def() const { return m_def; }
    const std::string& Name() const { return m_def.name; }

    // "" chooses the primary index.
    Status SetIndex(std::string_view indexName);
    const std::string& IndexName() const { return m_indexName; }

    // Exact match on the current index's key; positions the cursor on the record when found.
    bool FindKey(std::string_view key);
    bool FindKey(long long key);

    void First();
    void Next();
    void Last();
    bool Eof() const { return !m_hasRecord; }
    int RecordCount() const;

    // For bulk walks that need a few fields of every record (the start-up food indexes): one query in
    // the current index's order reading only those fields, each as FieldText would give it. The
    // callback returns false to stop. The cursor does not move.
    Status ReadFieldTexts(const std::vector<int>& positions,
                          const std::function<bool(const std::vector<std::string>&)>& record) const;

    int FieldCount() const { return static_cast<int>(m_def.fields.size()); }
    int FieldPosition(std::string_view name) const { return m_def.FieldPosition(name); }
    // An empty field reads as "" and as 0.
    std::string FieldText(int position) const;
    std::string FieldText(std::string_view name) const;
    double FieldFloat(int position) const;
    double FieldFloat(std::string_view name) const;
    long long FieldInt(int position) const;
    long long FieldInt(std::string_view name) const;
    bool FieldIsEmpty(int position) const;

    void Edit();
    void Append();
    void SetFieldText(int position, std::string_view text);
    void SetFieldText(std::string_view name, std::string_view text);
    void SetFieldFloat(int position, double value);
    void SetFieldInt(int position, long long value);
    void SetFieldEmpty(int position);
    Status Post();
    void Cancel();
    Status Delete();
    bool Editing() const { return m_mode != Mode::Browse; }

private:
    struct Value {
        bool null = true;
        bool numeric = false;
        double number = 0;
        std::string text;      // empty for a float read from the table: made when asked for
        bool isFloat = false;
    };
    enum class Mode { Browse, Edit, Append };

    const IndexDef* CurrentIndex() const;
    std::string KeyExpression() const;
    std::string SelectColumns() const;
    void ReadRow(sqlite3_stmt* stmt);
    void StepWalk();
    void FinalizeWalk();
    bool FindByValue(const Value& key);
    void LoadByRowId(long long rowid);

    // Prepared once per index: a food is looked up by its code thousands of times in one load.
    sqlite3_stmt* FindStatement();
    std::vector<std::pair<std::string, sqlite3_stmt*>> m_findStatements;

    Database* m_dbOwner = nullptr;
    sqlite3* m_db = nullptr;
    TableDef m_def;
    std::string m_indexName;
    sqlite3_stmt* m_walk = nullptr;
    bool m_hasRecord = false;
    long long m_rowid = 0;
    std::vector<Value> m_values;
    std::vector<bool> m_changed;
    Mode m_mode = Mode::Browse;
};

}  // namespace velmora
