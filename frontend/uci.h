#pragma once

namespace zolt {

// The UCI loop, entered for good by the console command "uci". Returns when
// the interface sends "quit" or closes the input.
void run_uci_loop();

}  // namespace zolt
