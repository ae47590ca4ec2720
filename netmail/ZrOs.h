// Operating-system services of the socket layer and the mail client: a
// re-entrant lock, sleeping, a millisecond clock, worker threads with a start
// handshake and a bounded stop, fixed-capacity ring queues of byte items, and
// polled one-shot timers.
//
// Nothing here allocates after creation: a queue gets its memory when it is
// created and frees it when it is destroyed; timers and thread controls are
// plain records owned by their caller.
#pragma once

#include <windows.h>
#include <stdint.h>

// A lock that knows whether it exists; enter and leave do nothing before it
// is created and after it is deleted.
struct ZrOsLockRec {
    int initialised;
    CRITICAL_SECTION lock;
};

void ZrOsLockInit(ZrOsLockRec *lock);
void ZrOsLockDelete(ZrOsLockRec *lock);
void ZrOsLockEnter(ZrOsLockRec *lock);
void ZrOsLockLeave(ZrOsLockRec *lock);

void ZrOsSleep(DWORD milliseconds);

// The system's millisecond clock as an unsigned 32-bit value; it wraps to 0
// after 2^32 ms.  Timers read it through here, and so does a test clock.
uint32_t ZrOsTickCount(void);
// Replaces the clock that ZrOsTickCount reads (null: the system's clock
// again), so that tests can run timers across a wrap or past a time-out
// without waiting.
typedef uint32_t (*ZrOsTickFn)(void);
void ZrOsSetTickSource(ZrOsTickFn source);

// The control record of one worker thread, handed to the thread as its only
// parameter.  The flags are read and written with interlocked operations
// (ZrOsFlagGet / ZrOsFlagSet): the controller writes stop, the thread writes
// running (first act) and exited (last act).
struct ZrOsThreadCtlRec {
    HANDLE thread;
    volatile LONG stop;
    volatile LONG exited;
    volatile LONG running;
    void *argument;
};

LONG ZrOsFlagGet(volatile LONG *flag);
void ZrOsFlagSet(volatile LONG *flag, LONG value);

// A worker thread's procedure: receives its ZrOsThreadCtlRec, sets running,
// runs its pass until stop is set, sets exited and returns 0.
typedef DWORD(WINAPI *ZrOsThreadFn)(void *control);

// 1 when the thread runs and has reported running within about a second,
// else 0.  A thread that reports late is not stopped.
int ZrOsThreadStart(ZrOsThreadFn procedure, ZrOsThreadCtlRec *control, void *argument);
// Asks the thread to end and waits for it to end, at most timeoutMs (the
// thread tests stop once a pass, and a pass is short), then releases its
// handle.  A thread is never ended by force: it may hold a lock.  1 when the
// thread has ended (or never ran), 0 when it is still running after the wait.
// Stopping a stopped thread does nothing and answers 1.
int ZrOsThreadStop(ZrOsThreadCtlRec *control, DWORD timeoutMs);

// One queue item: a caller's tag, a slice of the queue's data block, how
// much of it a consumer has taken and how many bytes it still holds.
struct ZrOsQueueItemRec {
    int kind;
    char *data;
    int offset;
    int length;
};

// A ring of capacity items of at most itemSize bytes; it holds at most
// capacity - 1 items.
struct ZrOsQueueRec {
    int writeIndex;
    int readIndex;
    int count;
    int capacity;
    int itemSize;
    char *block;
    ZrOsQueueItemRec *items;
    ZrOsLockRec lock;
};

// 1, or 0 when memory is short (nothing left allocated) or the sizes are not
// positive.
int ZrOsQueueInit(ZrOsQueueRec *queue, int capacity, int itemSize);
void ZrOsQueueDestroy(ZrOsQueueRec *queue);
// 1 when the item was appended; 0 when the queue is full, destroyed, or
// length is negative or exceeds the item size.  data may be null (only the
// length and kind are recorded).
int ZrOsQueuePush(ZrOsQueueRec *queue, int kind, const void *data, int length);
// 1 with the oldest item's kind, length and bytes (buffer holds itemSize
// bytes); 0 when the queue is empty or destroyed, nothing written.
int ZrOsQueuePop(ZrOsQueueRec *queue, int *kind, void *buffer, int *length);
int ZrOsQueueCount(ZrOsQueueRec *queue);
// 1 when the queue cannot take another item.
int ZrOsQueueFull(ZrOsQueueRec *queue);
// Consumer side of the send and secure paths, which take an item in several
// pieces: the oldest item (null when empty), and dropping it once taken.
ZrOsQueueItemRec *ZrOsQueuePeek(ZrOsQueueRec *queue);
void ZrOsQueueDropOldest(ZrOsQueueRec *queue);
// Producer side for writers that fill an item in place: the item at the write
// index, cleared (null when full), and appending it once filled.
ZrOsQueueItemRec *ZrOsQueueReserve(ZrOsQueueRec *queue);
void ZrOsQueueCommit(ZrOsQueueRec *queue);

// A polled one-shot timer.
typedef void (*ZrTimerFn)(int user);
struct ZrTimerRec {
    uint32_t start;
    uint32_t timeout;
    int active;
    ZrTimerFn callback;
    int user;
};

void ZrTimerStart(ZrTimerRec *timer, uint32_t timeoutMs, ZrTimerFn callback, int user);
void ZrTimerStop(ZrTimerRec *timer);
// 1 when the timer fired in this call (it is then idle again), else 0.
int ZrTimerPoll(ZrTimerRec *timer);
