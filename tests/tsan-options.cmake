# Read by ctest in a ThreadSanitizer build (MAPVINE_TSAN) before any test
# starts; the tests inherit the environment it sets.
#   suppressions       reports that lie wholly inside Qt, which Debian does
#                      not build with ThreadSanitizer (see tsan.supp)
#   die_after_fork=0   QProcess forks this multi-threaded process to start
#                      PostgreSQL's programs and the history writer; the child
#                      only execs, which ThreadSanitizer cannot tell
#   second_deadlock_stack=1  both stacks of a lock-order report
#   history_size=7     the longest memory of earlier accesses: in a long test
#                      TSan otherwise forgets the other stack of a report
#                      ("failed to restore the stack"), and a suppression
#                      naming a frame of it cannot match
get_filename_component(mapvine_tsan_folder "${CMAKE_CURRENT_LIST_FILE}" DIRECTORY)
set(ENV{TSAN_OPTIONS}
    "suppressions=${mapvine_tsan_folder}/tsan.supp die_after_fork=0 second_deadlock_stack=1 history_size=7")
