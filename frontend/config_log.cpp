// The configuration file Zolt.cfg, read once at start-up, and the log file
// with its header of the settings in force.
#include "frontend/config_log.h"

#include <cstdint>
#include <cstring>
#include <strings.h>

#include "eval/tables.h"
#include "frontend/line_reader.h"
#include "search/tt.h"

namespace zolt {

int logging = 0;
char log_file_name[256] = "Zolt.log";
FILE* log_file = nullptr;
int nullmove_depth = 2;
int ponder = 0;
int own_book = 0;
int book_depth = 0;
char book_file_name[256] = "book.bin";
int hash_size = 0;

namespace {

const char* const CONFIG_FILE_NAME = "Zolt.cfg";
constexpr int CONFIG_LINE_SIZE = 250;  // 249 characters and the terminator
constexpr int MAX_NULLMOVE_DEPTH = 9;

enum KeyKind { NUMBER, NULLMOVE, WHITE_VALUE, BLACK_VALUE, FLAG_FROM_VALUE, FILE_NAME, SWITCH, PRESENCE };

struct ConfigKey {
  const char* key;
  KeyKind kind;
  int* target;        // NUMBER, NULLMOVE, FLAG_FROM_VALUE, SWITCH, PRESENCE
  PieceCode piece;    // WHITE_VALUE, BLACK_VALUE
  char* name;         // FILE_NAME: a buffer of FILE_NAME_SIZE characters
};

constexpr int FILE_NAME_SIZE = 256;
static_assert(sizeof log_file_name == FILE_NAME_SIZE && sizeof book_file_name == FILE_NAME_SIZE,
              "file names read from Zolt.cfg share one size");

// Tested in this order against the start of every line; every key that
// matches is applied.
const ConfigKey CONFIG_KEYS[] = {
    {"Nullmove", NULLMOVE, &nullmove_depth, 0, nullptr},
    {"WhitePawn", WHITE_VALUE, nullptr, PAWN, nullptr},
    {"WhiteKnight", WHITE_VALUE, nullptr, KNIGHT, nullptr},
    {"WhiteRook", WHITE_VALUE, nullptr, ROOK, nullptr},
    {"WhiteBishop", WHITE_VALUE, nullptr, BISHOP, nullptr},
    {"WhiteQueen", WHITE_VALUE, nullptr, QUEEN, nullptr},
    {"BlackQueen", BLACK_VALUE, nullptr, -QUEEN, nullptr},
    {"BlackBishop", BLACK_VALUE, nullptr, -BISHOP, nullptr},
    {"BlackRook", BLACK_VALUE, nullptr, -ROOK, nullptr},
    {"BlackKnight", BLACK_VALUE, nullptr, -KNIGHT, nullptr},
    {"BlackPawn", BLACK_VALUE, nullptr, -PAWN, nullptr},
    {"Logging", FLAG_FROM_VALUE, &logging, 0, nullptr},
    {"Logfile", FILE_NAME, nullptr, 0, log_file_name},
    {"OwnBook", SWITCH, &own_book, 0, nullptr},
    {"BookFile", FILE_NAME, nullptr, 0, book_file_name},
    {"BookDepth", NUMBER, &book_depth, 0, nullptr},
    {"Ponder", PRESENCE, &ponder, 0, nullptr},
    {"Hash", NUMBER, &hash_size, 0, nullptr},
};

bool is_blank(char c) { return c == ' ' || c == '\t'; }

// The word of a switch's value: false, 0, off and no (in any case) switch
// off; anything else, and no value at all, switches on.
int switch_value(const char* value) {
  if (!value) return 1;
  size_t length = 0;
  while (value[length] && !is_blank(value[length]) && value[length] != '\n' && value[length] != '\r') ++length;
  static const char* const OFF_WORDS[] = {"false", "0", "off", "no"};
  for (const char* off : OFF_WORDS)
    if (length == strlen(off) && !strncasecmp(value, off, length)) return 0;
  return 1;
}

// The text after the first "=" of the line with leading blanks skipped, or
// nullptr when the line has no "=".
const char* value_text(const char* line) {
  const char* equals = strchr(line, '=');
  if (!equals) return nullptr;
  const char* p = equals + 1;
  while (is_blank(*p)) ++p;
  return p;
}

// The number of a line: after every "=" blanks are skipped and the digits
// that follow are appended, so one "=" gives its number and a stray second
// one appends its digits. 0 without digits, -1 when the line has no "=".
// The value stops growing at `limit`.
int64_t line_number(const char* line, int64_t limit) {
  int64_t value = -1;
  for (const char* equals = strchr(line, '='); equals; equals = strchr(equals + 1, '=')) {
    if (value < 0) value = 0;
    const char* p = equals + 1;
    while (is_blank(*p)) ++p;
    for (; *p >= '0' && *p <= '9'; ++p) {
      value = value * 10 + (*p - '0');
      if (value > limit) value = limit;
    }
  }
  return value;
}

// A number key's value: 0 without "=". Counts and depths stop at the int range.
int number_or_zero(const char* line) {
  int64_t value = line_number(line, INT32_MAX);
  return value < 0 ? 0 : static_cast<int>(value);
}

// A piece value: 0 without "=". No piece is worth more than a king; the bound
// also keeps every material sum over a board far inside 32 bits.
int32_t piece_value_of_line(const char* line) {
  int64_t value = line_number(line, KING_VALUE);
  return value < 0 ? 0 : static_cast<int32_t>(value);
}

void apply_key(const ConfigKey& key, const char* line) {
  const char* value = value_text(line);
  switch (key.kind) {
    case NUMBER:
      *key.target = number_or_zero(line);
      break;
    case NULLMOVE:
      if (value) {
        int depth = number_or_zero(line);
        if (depth <= MAX_NULLMOVE_DEPTH) *key.target = depth;
      }
      break;
    case WHITE_VALUE:
      piece_value[key.piece] = piece_value_of_line(line);
      break;
    case BLACK_VALUE:
      piece_value[key.piece] = -piece_value_of_line(line);
      break;
    case FLAG_FROM_VALUE:
      *key.target = value && (*value == '1' || *value == 't' || *value == 'T') ? 1 : 0;
      break;
    case FILE_NAME:
      if (value) {
        size_t length = 0;
        // The name ends at a blank, the line end (a carriage return included) or the terminator.
        while (value[length] && !is_blank(value[length]) && value[length] != '\n' && value[length] != '\r' &&
               length < FILE_NAME_SIZE - 1)
          ++length;
        memcpy(key.name, value, length);
        key.name[length] = 0;
      }
      break;
    case SWITCH:
      *key.target = switch_value(value);
      break;
    case PRESENCE:
      *key.target = 1;
      break;
  }
}

void apply_line(const char* line) {
  for (const ConfigKey& key : CONFIG_KEYS)
    if (!strncmp(line, key.key, strlen(key.key))) apply_key(key, line);
}

}  // namespace

int read_config() {
  // Binary mode: the same bytes on every platform (no Ctrl-Z ends the file early).
  FILE* file = fopen(CONFIG_FILE_NAME, "rb");
  if (!file) {
    printf("warning: couldn't open Zolt.cfg");
    return 0;
  }
  printf("loading: Zolt.cfg");
  char line[CONFIG_LINE_SIZE];
  while (read_file_line(file, line, CONFIG_LINE_SIZE)) apply_line(line);
  if (fclose(file) != 0) {
    printf("\nwarning while closing the file\n");
    return 1;
  }
  return 0;
}

int open_log(const char* start_time_text) {
  // Binary mode: the log's lines end in "\n" on every platform.
  log_file = fopen(log_file_name, "wb");
  if (!log_file) return 1;
  fprintf(log_file, "date: %s", start_time_text);
  fprintf(log_file, "zolt\n");
  fprintf(log_file, "quarnwell\n");
  fprintf(log_file, "version: 0.360");
  fprintf(log_file, "\nvalues read from file: Zolt.cfg");
  fprintf(log_file, "\nnullmove set to depth: %d", nullmove_depth);
  if (table_in_use())
    fprintf(log_file, "\nhashsize: %d", table_megabytes);
  else
    fprintf(log_file, "\nhashsize: %d [not yet implemented]", hash_size);
  if (own_book) {
    fprintf(log_file, "\nown book: %d (book file: %s)", own_book, book_file_name);
    fprintf(log_file, "\nuse book to depth: %d", book_depth);
  } else {
    fprintf(log_file, "\nown book: %d [not yet implemented]", own_book);
    fprintf(log_file, "\nuse book to depth: %d [not yet implemented]", book_depth);
  }
  fprintf(log_file, "\npiece values: ");
  fprintf(log_file, "\nwhite pawn: %d", piece_value[PAWN]);
  fprintf(log_file, "\nwhite knight: %d", piece_value[KNIGHT]);
  fprintf(log_file, "\nwhite bishop: %d", piece_value[BISHOP]);
  fprintf(log_file, "\nwhite rook: %d", piece_value[ROOK]);
  fprintf(log_file, "\nwhite queen: %d", piece_value[QUEEN]);
  fprintf(log_file, "\nblack queen: %d", -piece_value[-QUEEN]);
  fprintf(log_file, "\nblack rook: %d", -piece_value[-ROOK]);
  fprintf(log_file, "\nblack bishop: %d", -piece_value[-BISHOP]);
  fprintf(log_file, "\nblack knight: %d", -piece_value[-KNIGHT]);
  fprintf(log_file, "\nblack pawn: %d", -piece_value[-PAWN]);
  fflush(log_file);
  return 0;
}

}  // namespace zolt
