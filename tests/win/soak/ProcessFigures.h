#pragma once

// What a long-running host process holds at one moment, read from the outside of the plug-in:
// live heap bytes and blocks over every heap of the process, the kernel handles open, and the
// windows alive. Under Wine the system's own counters (PrivateUsage, GetProcessHandleCount,
// GetGuiResources) read 0, so heaps are walked and handle values probed. Windows only.

#include <windows.h>

#include <cstddef>
#include <initializer_list>
#include <string>
#include <vector>

struct HeapFigures {
    long long bytes = 0;
    long long blocks = 0;
};

// The busy blocks of every heap of the process, summed, leaving out the blocks at `ignored`
// (the measurement's own lists). Allocates nothing itself.
HeapFigures LiveHeap(std::initializer_list<const void*> ignored = {});

// One busy heap block.
struct HeapBlock {
    const void* address = nullptr;
    std::size_t size = 0;
    bool operator<(const HeapBlock& other) const { return address < other.address; }
};

// The busy blocks of every heap of the process, sorted by address; at most `room` of them (the
// list is made before the walk, so that the walk itself allocates nothing).
std::vector<HeapBlock> LiveHeapBlocks(std::size_t room);

// Every handle value of this process that names an open kernel object, in ascending order.
std::vector<HANDLE> LiveHandles();

// The thread-local storage slots still free (a process has 1088; a library that takes one per
// load and keeps it makes the loads after the last slot fail).
int FreeTlsSlots();

// The windows of this process, top-level and child.
long long LiveWindows();

// One line about a handle: its object type and, for a thread, which thread and whether it
// still runs.
std::string DescribeHandle(HANDLE handle);
