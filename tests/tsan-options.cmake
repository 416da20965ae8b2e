# Read by ctest in a ThreadSanitizer build (MAPVINE_TSAN) before any test
# starts; the tests inherit the environment it sets.
#   ignore_noninstrumented_modules=1
#       Debian's Qt, GLib and libdbus are not built with ThreadSanitizer.
#       Qt 6 locks its mutexes with futexes TSan never sees, so every hand-
#       over inside Qt (its event queue, its thread pool, the QtDBus thread,
#       its type registry) looked like a race: memory Qt allocated on one
#       thread and read or freed on another, with no frame of ours. With
#       this, TSan ignores what those libraries read and write through
#       malloc, free, memcpy and the like; every load and store of our own
#       code is still checked, and the libraries' thread starts, joins and
#       pthread locks still order it. It replaced a list of suppressions
#       that named Qt's functions one by one and could never name them all.
#       Our own hand-overs through Qt say so with HandOver and
#       LibraryHandOver (base/).
#   die_after_fork=0   QProcess forks this multi-threaded process to start
#                      PostgreSQL's programs and the history writer; the child
#                      only execs, which ThreadSanitizer cannot tell
#   second_deadlock_stack=1  both stacks of a lock-order report
#   history_size=7     the longest memory of earlier accesses: in a long test
#                      TSan otherwise forgets the other stack of a report
#
# Run each test in a process of its own, as ctest does. Qt 6.4 starts a
# child with libc's clone(CLONE_VM | CLONE_VFORK), which TSan does not
# intercept: until it execs, the child runs TSan's interceptors on the
# parent's memory and thread state, and from then on TSan misses locks that
# thread takes. A whole test program run by hand can so report races in
# well-ordered code after a test that started a program (export/WorkAhead.h
# did, after the tests that start xmllint or rsvg-convert); a report after
# such a start is trusted only once it shows without the start too.
set(ENV{TSAN_OPTIONS}
    "ignore_noninstrumented_modules=1 die_after_fork=0 second_deadlock_stack=1 history_size=7")
