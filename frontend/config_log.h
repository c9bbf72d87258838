// The configuration file Zolt.cfg and the log file.
#pragma once

#include <cstdio>

namespace zolt {

extern int logging;
extern char log_file_name[256];
extern FILE* log_file;
extern int nullmove_depth;
extern int ponder;
extern int own_book;
extern int book_depth;
extern char book_file_name[256];  // the opening book's file (frontend/book.h)
extern int hash_size;

int read_config();
// Creates the log and writes its header; nonzero on failure.
int open_log(const char* start_time_text);

}  // namespace zolt
