// game.cpp - the game's main routine: seed, window, board, play, close.
#include "game.h"

#include "board.h"
#include "graphics.h"
#include "random.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

namespace {

// Nothing catches the library's errors, so a missing picture ends the game through
// terminate(); say plainly which error it was before the runtime aborts.
[[noreturn]] void ReportUncaughtError()
{
    if (std::exception_ptr current = std::current_exception()) {
        try {
            std::rethrow_exception(current);
        } catch (error e) {
            std::fflush(stdout);
            std::fprintf(stderr, "Quen's Zarn ended by an uncaught error: %s (%d)\n",
                         e == ERROR_FILE_NOT_FOUND ? "ERROR_FILE_NOT_FOUND, a picture file is missing"
                         : e == ERROR_OUT_OF_MEMORY ? "ERROR_OUT_OF_MEMORY"
                                                     : "unknown",
                         static_cast<int>(e));
        } catch (...) {
        }
    }
    std::abort();
}

} // namespace

int RunGame()
{
    std::set_terminate(ReportUncaughtError);
    SeedRandom();
    window win(1000, 600, 5, 5);
    Board board;
    board.Setup(win);
    board.Play(win);
    return 0; // the window's destructor waits for the closing click
}
