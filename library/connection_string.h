// Connection strings as programs write them: key=value pairs separated by
// ';', keys compared ignoring case, values optionally quoted with " or ' (a
// doubled quote stands for one) or braced with {...} (a doubled } stands for
// one). The string says which driver serves it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vell {

struct ConnectionPair {
  std::u16string key;    // as written, without surrounding blanks
  std::u16string value;  // unquoted
};

// The pairs in their order, or nothing when the text is not a well-formed
// connection string (a part without '=', an unclosed quote or brace, text
// after a closing quote).
std::optional<std::vector<ConnectionPair>> ParseConnectionString(std::u16string_view text);

struct DatabaseTarget {
  enum Kind { Unsupported, Sqlite, Odbc };
  Kind kind = Unsupported;
  // Sqlite: the Data Source as written (":memory:" or a file path).
  std::u16string sqliteSource;
  // Odbc: the ODBC connection string with the keys of the data-access
  // layer mapped to ODBC's (Data Source to DSN, User ID to UID, Password to
  // PWD, Initial Catalog to DATABASE) and the rest passed on.
  std::u16string odbcString;
  // Odbc: when the string names no driver, the data source's name, and the
  // other pairs without it (for a driver layer that takes the name apart).
  std::u16string odbcDsn;
  std::u16string odbcRest;
  // The password given, so that no message ever shows it.
  std::u16string password;
};

// Provider=SQLite or SQLite3 with a Data Source: the SQLite driver. The ODBC
// provider (MSDASQL), or no provider at all with a Driver=, DSN= or Data
// Source=: ODBC. Anything else, or a malformed string: Unsupported.
DatabaseTarget ChooseDatabaseTarget(std::u16string_view connectionString);

// Case-insensitive comparison of ASCII letters, for keys and provider names.
bool SameKey(std::u16string_view a, std::u16string_view b);

}  // namespace vell
