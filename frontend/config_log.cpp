// Placeholder so the library links; replaced by the real implementation.
#include "frontend/config_log.h"
namespace zolt {
int logging = 0;
char log_file_name[256] = "Zolt.log";
FILE* log_file = nullptr;
int nullmove_depth = 2;
int ponder = 0;
int own_book = 0;
int book_depth = 0;
int hash_size = 0;
int read_config() { return 0; }
int open_log(const char*) { return 0; }
}
