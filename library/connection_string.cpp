#include "library/connection_string.h"

namespace vell {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

std::u16string_view Trim(std::u16string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

char16_t AsciiLower(char16_t c) { return (c >= u'A' && c <= u'Z') ? c + (u'a' - u'A') : c; }

// A value for an ODBC connection string, braced when it would not survive
// as plain text.
std::u16string OdbcValue(std::u16string_view value, bool alwaysBrace) {
  bool brace = alwaysBrace || value.empty() || IsBlank(value.front()) || IsBlank(value.back());
  for (char16_t c : value) {
    if (c == u';' || c == u'{' || c == u'}' || c == u'=') brace = true;
  }
  if (!brace) return std::u16string(value);
  std::u16string out = u"{";
  for (char16_t c : value) {
    out += c;
    if (c == u'}') out += u'}';
  }
  out += u'}';
  return out;
}

const ConnectionPair* Find(const std::vector<ConnectionPair>& pairs, std::u16string_view key) {
  const ConnectionPair* found = nullptr;
  for (const ConnectionPair& pair : pairs) {
    if (SameKey(pair.key, key)) found = &pair;  // the last one counts
  }
  return found;
}

}  // namespace

bool SameKey(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

std::optional<std::vector<ConnectionPair>> ParseConnectionString(std::u16string_view text) {
  std::vector<ConnectionPair> pairs;
  size_t i = 0;
  const size_t n = text.size();
  while (i < n) {
    // The key runs to the first single '='; "==" is an '=' inside the key.
    std::u16string key;
    bool sawEquals = false;
    while (i < n) {
      const char16_t c = text[i];
      if (c == u'=') {
        if (i + 1 < n && text[i + 1] == u'=') {
          key += u'=';
          i += 2;
          continue;
        }
        sawEquals = true;
        ++i;
        break;
      }
      if (c == u';') break;
      key += c;
      ++i;
    }
    const std::u16string_view trimmedKey = Trim(key);
    if (!sawEquals) {
      if (!trimmedKey.empty()) return std::nullopt;  // a part without '='
      ++i;                                           // an empty part
      continue;
    }
    if (trimmedKey.empty()) return std::nullopt;

    while (i < n && IsBlank(text[i])) ++i;
    std::u16string value;
    if (i < n && (text[i] == u'"' || text[i] == u'\'' || text[i] == u'{')) {
      const char16_t open = text[i];
      const char16_t close = open == u'{' ? u'}' : open;
      ++i;
      bool closed = false;
      while (i < n) {
        if (text[i] == close) {
          if (i + 1 < n && text[i + 1] == close) {
            value += close;
            i += 2;
            continue;
          }
          ++i;
          closed = true;
          break;
        }
        value += text[i++];
      }
      if (!closed) return std::nullopt;
      while (i < n && IsBlank(text[i])) ++i;
      if (i < n && text[i] != u';') return std::nullopt;
    } else {
      const size_t start = i;
      while (i < n && text[i] != u';') ++i;
      value = Trim(text.substr(start, i - start));
    }
    if (i < n) ++i;  // the ';'
    pairs.push_back({std::u16string(trimmedKey), std::move(value)});
  }
  return pairs;
}

DatabaseTarget ChooseDatabaseTarget(std::u16string_view connectionString) {
  DatabaseTarget target;
  const std::optional<std::vector<ConnectionPair>> parsed = ParseConnectionString(connectionString);
  if (!parsed) return target;
  const std::vector<ConnectionPair>& pairs = *parsed;
  const ConnectionPair* provider = Find(pairs, u"Provider");
  const std::u16string_view providerName = provider ? Trim(provider->value) : u"";
  if (const ConnectionPair* pwd = Find(pairs, u"Password")) target.password = pwd->value;
  if (const ConnectionPair* pwd = Find(pairs, u"PWD")) target.password = pwd->value;

  if (SameKey(providerName, u"SQLite") || SameKey(providerName, u"SQLite3")) {
    const ConnectionPair* source = Find(pairs, u"Data Source");
    if (source == nullptr || Trim(source->value).empty()) return target;
    target.kind = DatabaseTarget::Sqlite;
    target.sqliteSource = Trim(source->value);
    return target;
  }

  const bool odbcProvider = providerName.empty() || SameKey(providerName, u"MSDASQL") ||
                            SameKey(providerName, u"MSDASQL.1");
  if (!odbcProvider) return target;

  // Map the keys; the last of a key counts, so earlier duplicates are dropped.
  struct Mapped {
    std::u16string key;
    std::u16string value;
  };
  std::vector<Mapped> mapped;
  for (const ConnectionPair& pair : pairs) {
    std::u16string key = pair.key;
    if (SameKey(key, u"Provider") || SameKey(key, u"Persist Security Info")) continue;
    if (SameKey(key, u"Data Source")) key = u"DSN";
    else if (SameKey(key, u"User ID")) key = u"UID";
    else if (SameKey(key, u"Password")) key = u"PWD";
    else if (SameKey(key, u"Initial Catalog")) key = u"DATABASE";
    for (auto it = mapped.begin(); it != mapped.end(); ++it) {
      if (SameKey(it->key, key)) {
        mapped.erase(it);
        break;
      }
    }
    mapped.push_back({std::move(key), pair.value});
  }
  bool hasDriver = false;
  const Mapped* dsn = nullptr;
  for (const Mapped& m : mapped) {
    if (SameKey(m.key, u"DRIVER")) hasDriver = true;
    if (SameKey(m.key, u"DSN")) dsn = &m;
  }
  if (!hasDriver && (dsn == nullptr || Trim(dsn->value).empty())) return target;

  target.kind = DatabaseTarget::Odbc;
  for (const Mapped& m : mapped) {
    const bool isDriver = SameKey(m.key, u"DRIVER");
    std::u16string part = m.key + u"=" + OdbcValue(m.value, isDriver);
    if (!target.odbcString.empty()) target.odbcString += u';';
    target.odbcString += part;
    if (&m == dsn) continue;
    if (!target.odbcRest.empty()) target.odbcRest += u';';
    target.odbcRest += part;
  }
  if (!hasDriver) target.odbcDsn = OdbcValue(dsn->value, false);
  return target;
}

}  // namespace vell
