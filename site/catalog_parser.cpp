#include "catalog_parser.h"

#include <map>
#include <stdexcept>

#include "demo_catalog.h"
#include "gbk.h"
#include "text_parse.h"

namespace lumadex::site {
namespace {

struct ConfigError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct Token {
  std::string_view text;
  std::size_t end;  // just past the token, within the line
};

std::vector<Token> tokenize(std::string_view line) {
  std::vector<Token> tokens;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) tokens.push_back({line.substr(start, i - start), i});
  }
  return tokens;
}

// Config text ends up in one-line error messages; keep those short and printable.
std::string quoted(std::string_view s) {
  std::string out = "'";
  for (char c : s.substr(0, 60)) out += (static_cast<unsigned char>(c) < 0x20) ? '?' : c;
  if (s.size() > 60) out += "...";
  return out + "'";
}

class Parser {
 public:
  Catalog run(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    std::size_t pos = 0;
    for (line_ = 1;; ++line_) {
      auto nl = text.find('\n', pos);
      std::string_view line = text.substr(pos, nl == std::string_view::npos ? std::string_view::npos : nl - pos);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      parse_line(line);
      if (nl == std::string_view::npos) break;
      pos = nl + 1;
    }
    check_references();
    return std::move(catalog_);
  }

  [[noreturn]] void fail(const std::string& message) const { fail_at(line_, message); }
  [[noreturn]] static void fail_at(int line, const std::string& message) {
    throw ConfigError("line " + std::to_string(line) + ": " + message);
  }

  void expect_end(const std::vector<Token>& t, std::size_t fixed) const {
    if (t.size() > fixed && t[fixed].text.front() != '#') fail("unexpected " + quoted(t[fixed].text));
  }

  // The verbatim text after token i and the single space that follows it.
  static std::optional<std::string_view> rest_after(std::string_view line, const Token& t) {
    if (t.end >= line.size()) return std::nullopt;
    return line.substr(t.end + 1);
  }

  std::int64_t album_id(std::string_view s) const {
    auto v = parse_decimal(s, kMaxAlbumId);
    if (!v || *v == 0) fail("bad album id " + quoted(s));
    return *v;
  }

  void parse_line(std::string_view line) {
    auto t = tokenize(line);
    if (t.empty() || t[0].text.front() == '#') return;
    auto word = t[0].text;
    if (word == "demo") {
      expect_end(t, 1);
      add_demo_set(catalog_);
    } else if (word == "account") {
      parse_account(t);
    } else if (word == "album") {
      parse_album(t);
    } else if (word == "photo-name") {
      parse_photo_name(line, t);
    } else if (word == "fault") {
      parse_fault(line, t);
    } else {
      fail("unknown directive " + quoted(word));
    }
  }

  void parse_account(const std::vector<Token>& t) {
    if (t.size() < 3) fail("account needs an email and a password");
    expect_end(t, 3);
    Account a;
    a.email = t[1].text;
    a.password = t[2].text;
    auto email = utf8_to_gbk(a.email);
    auto password = utf8_to_gbk(a.password);
    if (!email || !password) fail("account details must be UTF-8 text that GBK can hold");
    a.email_gbk = *email;
    a.password_gbk = *password;
    if (auto it = account_lines_.find(a.email); it != account_lines_.end()) {
      fail("account " + quoted(a.email) + " is already defined on line " + std::to_string(it->second));
    }
    account_lines_[a.email] = line_;
    auto& accounts = catalog_.accounts;
    std::erase_if(accounts, [&](const Account& old) { return old.email == a.email; });  // a demo one
    accounts.push_back(std::move(a));
  }

  void parse_album(const std::vector<Token>& t) {
    if (t.size() < 2) fail("album needs an id");
    Album album;
    album.id = album_id(t[1].text);
    std::optional<std::int64_t> owner, count;
    std::size_t i = 2;
    for (; i < t.size() && t[i].text.front() != '#'; ++i) {
      auto kv = t[i].text;
      auto eq = kv.find('=');
      auto key = kv.substr(0, eq);
      auto value = eq == std::string_view::npos ? std::string_view{} : kv.substr(eq + 1);
      if (key == "owner" && !owner) {
        owner = parse_decimal(value, kMaxOwnerId);
        if (!owner || *owner == 0) fail("bad owner " + quoted(value));
      } else if (key == "count" && !count) {
        count = parse_decimal(value, kMaxPhotosPerAlbum);
        if (!count) fail("bad count " + quoted(value) + " (0 to " + std::to_string(kMaxPhotosPerAlbum) + ")");
      } else {
        fail("unexpected " + quoted(kv) + " (album takes owner= and count= once each)");
      }
    }
    if (!owner || !count) fail("album needs owner= and count=");
    if (auto it = album_lines_.find(album.id); it != album_lines_.end()) {
      fail("album " + std::to_string(album.id) + " is already defined on line " + std::to_string(it->second));
    }
    album_lines_[album.id] = line_;
    album.owner = *owner;
    album.count = *count;
    album.title = "相册 " + std::to_string(album.id);
    auto& albums = catalog_.albums;
    std::erase_if(albums, [&](const Album& old) { return old.id == album.id; });  // a demo one
    albums.push_back(std::move(album));
  }

  void parse_photo_name(std::string_view line, const std::vector<Token>& t) {
    if (t.size() < 4) fail("photo-name needs an album, a photo number and a name");
    auto album = album_id(t[1].text);
    auto n = parse_decimal(t[2].text, kMaxPhotosPerAlbum);
    if (!n || *n == 0) fail("bad photo number " + quoted(t[2].text));
    auto name = rest_after(line, t[2]);
    if (!name || name->empty()) fail("photo-name needs a name");
    if (!catalog_.photo_names.emplace(std::make_pair(album, *n), std::string(*name)).second) {
      fail("photo " + std::to_string(*n) + " of album " + std::to_string(album) + " already has a name");
    }
    name_lines_[{album, *n}] = line_;
  }

  static std::optional<FaultTarget> target_of(std::string_view word, bool& numbered) {
    static const std::map<std::string_view, std::pair<FaultTarget, bool>> kTargets = {
        {"login", {FaultTarget::Login, false}},          {"profile", {FaultTarget::Profile, false}},
        {"first", {FaultTarget::First, false}},          {"pages", {FaultTarget::Pages, false}},
        {"photopages", {FaultTarget::PhotoPages, false}}, {"photos", {FaultTarget::Photos, false}},
        {"page", {FaultTarget::Page, true}},             {"photopage", {FaultTarget::PhotoPage, true}},
        {"photo", {FaultTarget::Photo, true}},           {"entry", {FaultTarget::Entry, true}},
    };
    auto it = kTargets.find(word);
    if (it == kTargets.end()) return std::nullopt;
    numbered = it->second.second;
    return it->second.first;
  }

  static std::optional<FaultKind> kind_of(std::string_view word) {
    static const std::map<std::string_view, FaultKind> kKinds = {
        {"latency", FaultKind::Latency},         {"hang", FaultKind::Hang},
        {"status", FaultKind::Status},           {"empty", FaultKind::Empty},
        {"truncate", FaultKind::Truncate},       {"nolink", FaultKind::NoLink},
        {"endless", FaultKind::Endless},         {"huge", FaultKind::Huge},
        {"no-photoPan", FaultKind::NoPhotoPan},  {"no-pager-top", FaultKind::NoPagerTop},
        {"no-pager-bottom", FaultKind::NoPagerBottom}, {"count", FaultKind::Count},
        {"no-img", FaultKind::NoImg},
    };
    auto it = kKinds.find(word);
    if (it == kKinds.end()) return std::nullopt;
    return it->second;
  }

  void parse_fault(std::string_view line, const std::vector<Token>& t) {
    if (t.size() < 4) fail("fault needs an album (or *), a target and a kind");
    FaultRule rule;
    rule.line = line_;
    if (t[1].text != "*") rule.album = album_id(t[1].text);

    auto target_word = t[2].text;
    auto colon = target_word.find(':');
    bool numbered = false;
    auto target = target_of(target_word.substr(0, colon), numbered);
    if (!target) fail("unknown fault target " + quoted(target_word));
    if (numbered != (colon != std::string_view::npos)) {
      fail(numbered ? "fault target " + quoted(target_word) + " needs a number, as in page:2"
                    : "fault target " + quoted(target_word) + " takes no number");
    }
    if (numbered) {
      auto number = parse_decimal(target_word.substr(colon + 1), kMaxPhotosPerAlbum);
      bool page = *target == FaultTarget::Page;
      if (!number || (!page && *number == 0)) fail("bad number in fault target " + quoted(target_word));
      rule.target_number = *number;
    }
    rule.target = *target;
    if ((rule.target == FaultTarget::Login || rule.target == FaultTarget::Profile) && rule.album) {
      fail("a " + std::string(target_word) + " fault concerns no album; write * for the album");
    }

    auto kind = kind_of(t[3].text);
    if (!kind) fail("unknown fault kind " + quoted(t[3].text));
    rule.kind = *kind;
    if (!fault_fits_target(rule.kind, rule.target)) {
      fail("fault kind " + quoted(t[3].text) + " does not apply to target " + quoted(target_word));
    }

    switch (rule.kind) {
      case FaultKind::Latency: {
        auto ms = t.size() > 4 ? parse_decimal(t[4].text, 3'600'000) : std::nullopt;
        if (!ms) fail("latency needs milliseconds (0 to 3600000)");
        rule.number = *ms;
        expect_end(t, 5);
        break;
      }
      case FaultKind::Hang:
        if (t.size() > 4 && t[4].text.front() != '#') {
          auto seconds = parse_seconds(t[4].text, 86400);
          if (!seconds) fail("hang takes seconds (0 to 86400), got " + quoted(t[4].text));
          rule.seconds = *seconds;
          expect_end(t, 5);
        }
        break;
      case FaultKind::Status: {
        auto code = t.size() > 4 ? parse_decimal(t[4].text, 599) : std::nullopt;
        if (!code || *code < 200) fail("status needs an HTTP status code (200 to 599)");
        rule.number = *code;
        expect_end(t, 5);
        break;
      }
      case FaultKind::Count: {
        auto text = rest_after(line, t[3]);
        if (!text) fail("count needs the text to show between 共 and 张");
        rule.text = *text;
        break;
      }
      default:
        expect_end(t, 4);
        break;
    }
    catalog_.faults.push_back(std::move(rule));
  }

  // Names and faults may come before the album they refer to; check them once all is read.
  void check_references() const {
    for (const auto& [key, name] : catalog_.photo_names) {
      int line = name_lines_.at(key);
      const Album* album = catalog_.find_album(key.first);
      if (!album) fail_at(line, "photo-name for album " + std::to_string(key.first) + ", which is not defined");
      if (key.second > album->count) {
        fail_at(line, "album " + std::to_string(key.first) + " has " + std::to_string(album->count) +
                          " photos, so it has no photo " + std::to_string(key.second));
      }
    }
    for (const auto& rule : catalog_.faults) {
      if (rule.album && !catalog_.find_album(*rule.album)) {
        fail_at(rule.line, "fault for album " + std::to_string(*rule.album) + ", which is not defined");
      }
    }
  }

  Catalog catalog_;
  int line_ = 0;
  std::map<std::string, int> account_lines_;
  std::map<std::int64_t, int> album_lines_;
  std::map<std::pair<std::int64_t, std::int64_t>, int> name_lines_;
};

}  // namespace

CatalogParse parse_catalog(std::string_view text) {
  try {
    return {Parser().run(text), {}};
  } catch (const ConfigError& e) {
    return {std::nullopt, e.what()};
  }
}

}  // namespace lumadex::site
