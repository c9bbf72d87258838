# The end-to-end suites again, against the 64-bit Windows build under wine:
# the same tests, with zolt started as "wine64 zolt_launcher.exe zolt.exe"
# (ZOLT_COMMAND, read by the harness and the game runner). They are named
# "wine.<suite>.<test>" and carry the label "wine"; `make test-windows`
# configures build-wine/ with ZOLT_WINE_TESTS=ON and runs `ctest -L wine`.
if(CMAKE_VERSION VERSION_LESS 3.22)
  message(FATAL_ERROR "ZOLT_WINE_TESTS needs CMake 3.22 (TEST_FILTER of gtest_discover_tests)")
endif()

set(ZOLT_WINDOWS_BUILD "${CMAKE_SOURCE_DIR}/build-win64" CACHE PATH
  "build folder of the 64-bit Windows executables the wine tests run")
set(ZOLT_WINE_PREFIX "$ENV{HOME}/.cache/zolt-wine" CACHE PATH "the wine prefix of the tests")
find_program(ZOLT_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(NOT ZOLT_WINE)
  message(FATAL_ERROR "ZOLT_WINE_TESTS needs wine64: apt-get install wine64")
endif()

# Over the launcher's pipes: the UCI transcripts, the lines that arrive during
# a search, console play, the perft suite command, the refereed games, zolt
# bench (its node count is the Linux build's) and the node-uci client, which
# sees whether each line leaves zolt.exe whole;
# besides them the other console transcripts and the hostile input. Left out:
# the one transcript with "clear" (cls prints no ANSI escape) and PolyGlot
# (it starts the Linux zolt). The book suites run PolyGlot's make-book only
# to write a book, which zolt.exe then reads.
set(ZOLT_WINE_SUITES
  UciLoop UciPosition UciOptions UciDiagnostics UciLog UciSearch UciSearchReports
  SearchPoll ConsolePlay PerftSuiteCommand Games Chess960Games Bench NodeUciPeer
  UciMultiPV UciInfinite ConsoleReplyReports UciHash ConsoleHash
  E2eSmoke Shell ConfigLog Diagnostics FenConsole PerftCommands ShowCommand
  HostileConfig HostileConsole HostileGo HostileSetboard HostileSuite HostileUci
  MadeBook UciBook LargeBook GnuchessBook ConsoleBook)
list(JOIN ZOLT_WINE_SUITES ".*:" ZOLT_WINE_FILTER)
set(ZOLT_WINE_LEFT_OUT Shell.DispFenVerClearAndEmptyLinesAtStart)

set(ZOLT_WINE_RUN "env WINEPREFIX=${ZOLT_WINE_PREFIX} WINEDEBUG=-all ${ZOLT_WINE}")
set(ZOLT_WINE_COMMAND "${ZOLT_WINE_RUN} ${ZOLT_WINDOWS_BUILD}/tests/windows/zolt_launcher.exe ${ZOLT_WINDOWS_BUILD}/zolt.exe")
set(ZOLT_WINE_CONSOLE_COMMAND "${ZOLT_WINE_RUN} ${ZOLT_WINDOWS_BUILD}/zolt.exe")
gtest_discover_tests(zolt_e2e_tests
  TEST_PREFIX "wine."
  TEST_FILTER "${ZOLT_WINE_FILTER}.*-${ZOLT_WINE_LEFT_OUT}"
  DISCOVERY_TIMEOUT 60
  PROPERTIES LABELS wine TIMEOUT 900 ENVIRONMENT "ZOLT_COMMAND=${ZOLT_WINE_COMMAND}")
# On a terminal, without the launcher: zolt.exe gets a wine console.
gtest_discover_tests(zolt_e2e_tests
  TEST_PREFIX "wine."
  TEST_FILTER "Terminal.*"
  DISCOVERY_TIMEOUT 60
  PROPERTIES LABELS wine TIMEOUT 900 ENVIRONMENT "ZOLT_CONSOLE_COMMAND=${ZOLT_WINE_CONSOLE_COMMAND}")
