#include "netmail/ZrOs.h"

#include <mmsystem.h>
#include <stdlib.h>
#include <string.h>

void ZrOsLockInit(ZrOsLockRec *lock)
{
    if (lock->initialised) return;
    InitializeCriticalSection(&lock->lock);
    lock->initialised = 1;
}

void ZrOsLockDelete(ZrOsLockRec *lock)
{
    if (lock->initialised != 1) return;
    DeleteCriticalSection(&lock->lock);
    lock->initialised = 0;
}

void ZrOsLockEnter(ZrOsLockRec *lock)
{
    if (lock->initialised) EnterCriticalSection(&lock->lock);
}

void ZrOsLockLeave(ZrOsLockRec *lock)
{
    if (lock->initialised) LeaveCriticalSection(&lock->lock);
}

void ZrOsSleep(DWORD milliseconds)
{
    Sleep(milliseconds);
}

static uint32_t SystemTicks(void)
{
    return (uint32_t)timeGetTime();
}

static ZrOsTickFn volatile gTickSource = SystemTicks;

uint32_t ZrOsTickCount(void)
{
    return gTickSource();
}

void ZrOsSetTickSource(ZrOsTickFn source)
{
    gTickSource = source ? source : SystemTicks;
}

LONG ZrOsFlagGet(volatile LONG *flag)
{
    return InterlockedCompareExchange(flag, 0, 0);
}

void ZrOsFlagSet(volatile LONG *flag, LONG value)
{
    InterlockedExchange(flag, value);
}

int ZrOsThreadStart(ZrOsThreadFn procedure, ZrOsThreadCtlRec *control, void *argument)
{
    ZrOsFlagSet(&control->stop, 0);
    ZrOsFlagSet(&control->exited, 0);
    ZrOsFlagSet(&control->running, 0);
    control->argument = argument;
    control->thread = CreateThread(NULL, 0, procedure, control, 0, NULL);
    if (!control->thread) return 0;
    for (int waits = 0; !ZrOsFlagGet(&control->running) && waits < 100; waits++) ZrOsSleep(10);
    return ZrOsFlagGet(&control->running) ? 1 : 0;
}

int ZrOsThreadStop(ZrOsThreadCtlRec *control, DWORD timeoutMs)
{
    if (!control->thread) return 1;
    ZrOsFlagSet(&control->stop, 1);
    if (WaitForSingleObject(control->thread, timeoutMs) != WAIT_OBJECT_0) return 0;
    CloseHandle(control->thread);
    control->thread = NULL;
    ZrOsFlagSet(&control->exited, 1);
    return 1;
}

int ZrOsQueueInit(ZrOsQueueRec *queue, int capacity, int itemSize)
{
    queue->writeIndex = queue->readIndex = queue->count = 0;
    queue->lock.initialised = 0;
    queue->capacity = capacity;
    queue->itemSize = itemSize;
    queue->block = NULL;
    queue->items = NULL;
    if (capacity < 2 || itemSize <= 0) return 0;
    queue->items = (ZrOsQueueItemRec *)calloc((size_t)capacity, sizeof(ZrOsQueueItemRec));
    if (!queue->items) return 0;
    queue->block = (char *)calloc((size_t)capacity, (size_t)itemSize);
    if (!queue->block) {
        free(queue->items);
        queue->items = NULL;
        return 0;
    }
    for (int i = 0; i < capacity; i++) queue->items[i].data = queue->block + (size_t)i * (size_t)itemSize;
    ZrOsLockInit(&queue->lock);
    return 1;
}

void ZrOsQueueDestroy(ZrOsQueueRec *queue)
{
    if (!queue->lock.initialised) return;
    ZrOsLockEnter(&queue->lock);
    free(queue->block);
    free(queue->items);
    queue->block = NULL;
    queue->items = NULL;
    queue->count = 0;
    ZrOsLockLeave(&queue->lock);
    ZrOsLockDelete(&queue->lock);
}

static int IsFull(const ZrOsQueueRec *queue)
{
    return !queue->items || queue->count >= queue->capacity - 1;
}

int ZrOsQueuePush(ZrOsQueueRec *queue, int kind, const void *data, int length)
{
    int pushed = 0;
    ZrOsLockEnter(&queue->lock);
    if (!IsFull(queue) && length >= 0 && length <= queue->itemSize) {
        ZrOsQueueItemRec *item = &queue->items[queue->writeIndex];
        if (data && length > 0) memcpy(item->data, data, (size_t)length);
        item->length = length;
        item->offset = 0;
        item->kind = kind;
        queue->writeIndex = (queue->writeIndex + 1) % queue->capacity;
        queue->count++;
        pushed = 1;
    }
    ZrOsLockLeave(&queue->lock);
    return pushed;
}

int ZrOsQueuePop(ZrOsQueueRec *queue, int *kind, void *buffer, int *length)
{
    int popped = 0;
    ZrOsLockEnter(&queue->lock);
    if (queue->items && queue->count > 0) {
        ZrOsQueueItemRec *item = &queue->items[queue->readIndex];
        *kind = item->kind;
        *length = item->length;
        if (item->length > 0) memcpy(buffer, item->data + item->offset, (size_t)item->length);
        item->offset = 0;
        queue->readIndex = (queue->readIndex + 1) % queue->capacity;
        queue->count--;
        popped = 1;
    }
    ZrOsLockLeave(&queue->lock);
    return popped;
}

int ZrOsQueueCount(ZrOsQueueRec *queue)
{
    ZrOsLockEnter(&queue->lock);
    int count = queue->count;
    ZrOsLockLeave(&queue->lock);
    return count;
}

int ZrOsQueueFull(ZrOsQueueRec *queue)
{
    ZrOsLockEnter(&queue->lock);
    int full = IsFull(queue);
    ZrOsLockLeave(&queue->lock);
    return full;
}

ZrOsQueueItemRec *ZrOsQueuePeek(ZrOsQueueRec *queue)
{
    ZrOsLockEnter(&queue->lock);
    ZrOsQueueItemRec *item = (queue->items && queue->count > 0) ? &queue->items[queue->readIndex] : NULL;
    ZrOsLockLeave(&queue->lock);
    return item;
}

void ZrOsQueueDropOldest(ZrOsQueueRec *queue)
{
    ZrOsLockEnter(&queue->lock);
    if (queue->items && queue->count > 0) {
        queue->items[queue->readIndex].offset = 0;
        queue->items[queue->readIndex].length = 0;
        queue->readIndex = (queue->readIndex + 1) % queue->capacity;
        queue->count--;
    }
    ZrOsLockLeave(&queue->lock);
}

ZrOsQueueItemRec *ZrOsQueueReserve(ZrOsQueueRec *queue)
{
    ZrOsLockEnter(&queue->lock);
    ZrOsQueueItemRec *item = NULL;
    if (!IsFull(queue)) {
        item = &queue->items[queue->writeIndex];
        item->kind = 0;
        item->offset = 0;
        item->length = 0;
    }
    ZrOsLockLeave(&queue->lock);
    return item;
}

void ZrOsQueueCommit(ZrOsQueueRec *queue)
{
    ZrOsLockEnter(&queue->lock);
    if (!IsFull(queue)) {
        queue->writeIndex = (queue->writeIndex + 1) % queue->capacity;
        queue->count++;
    }
    ZrOsLockLeave(&queue->lock);
}

void ZrTimerStart(ZrTimerRec *timer, uint32_t timeoutMs, ZrTimerFn callback, int user)
{
    timer->start = ZrOsTickCount();
    timer->timeout = timeoutMs;
    timer->callback = callback;
    timer->user = user;
    timer->active = 1;
}

void ZrTimerStop(ZrTimerRec *timer)
{
    timer->active = 0;
}

int ZrTimerPoll(ZrTimerRec *timer)
{
    if (!timer->active) return 0;
    uint32_t elapsed = ZrOsTickCount() - timer->start;
    if (elapsed < timer->timeout) return 0;
    timer->active = 0;
    if (timer->callback) timer->callback(timer->user);
    return 1;
}
