// Placeholder so the library links; replaced by the real implementation.
#include "frontend/uci.h"
namespace zolt {
void run_uci_loop() {}
}
