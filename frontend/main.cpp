#include "frontend/shell.h"

int main() { return zolt::run_console(); }
