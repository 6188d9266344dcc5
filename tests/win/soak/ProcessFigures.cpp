#include "tests/win/soak/ProcessFigures.h"

#include <winternl.h>

#include <algorithm>
#include <cstdio>

namespace {

// Handle values are multiples of 4; a host process holds a few hundred, so this bound leaves
// room for any growth a soak can show.
constexpr ULONG_PTR kHighestProbedHandle = 0x10000;

BOOL CALLBACK countChild(HWND, LPARAM count) {
    ++*reinterpret_cast<long long*>(count);
    return TRUE;
}

BOOL CALLBACK countTopLevel(HWND window, LPARAM count) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId()) return TRUE;
    ++*reinterpret_cast<long long*>(count);
    EnumChildWindows(window, countChild, count);
    return TRUE;
}

template <typename Function>
Function ntdllFunction(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), name)));
}

std::string typeName(HANDLE handle) {
    using Query = NTSTATUS(NTAPI*)(HANDLE, OBJECT_INFORMATION_CLASS, PVOID, ULONG, PULONG);
    static const auto query = ntdllFunction<Query>("NtQueryObject");
    alignas(8) unsigned char buffer[512] = {};
    ULONG length = 0;
    if (!query || query(handle, ObjectTypeInformation, buffer, sizeof buffer, &length) != 0)
        return "?";
    const auto& type = *reinterpret_cast<const PUBLIC_OBJECT_TYPE_INFORMATION*>(buffer);
    std::string name;
    for (USHORT i = 0; i < type.TypeName.Length / sizeof(wchar_t); ++i)
        name += static_cast<char>(type.TypeName.Buffer[i]);
    return name;
}

}  // namespace

HeapFigures LiveHeap(std::initializer_list<const void*> ignored) {
    HANDLE heaps[256];
    const DWORD count = GetProcessHeaps(256, heaps);
    HeapFigures figures;
    for (DWORD h = 0; h < count && h < 256; ++h) {
        if (!HeapLock(heaps[h])) continue;
        PROCESS_HEAP_ENTRY entry{};
        while (HeapWalk(heaps[h], &entry)) {
            if (!(entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)) continue;
            if (std::find(ignored.begin(), ignored.end(), entry.lpData) != ignored.end()) continue;
            figures.bytes += entry.cbData;
            ++figures.blocks;
        }
        HeapUnlock(heaps[h]);
    }
    return figures;
}

std::vector<HeapBlock> LiveHeapBlocks(std::size_t room) {
    std::vector<HeapBlock> blocks(room);
    std::size_t used = 0;
    HANDLE heaps[256];
    const DWORD count = GetProcessHeaps(256, heaps);
    for (DWORD h = 0; h < count && h < 256; ++h) {
        if (!HeapLock(heaps[h])) continue;
        PROCESS_HEAP_ENTRY entry{};
        while (HeapWalk(heaps[h], &entry) && used < room) {
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
                blocks[used++] = {entry.lpData, entry.cbData};
        }
        HeapUnlock(heaps[h]);
    }
    blocks.resize(used);
    std::sort(blocks.begin(), blocks.end());
    return blocks;
}

std::vector<HANDLE> LiveHandles() {
    std::vector<HANDLE> handles;
    for (ULONG_PTR value = 4; value <= kHighestProbedHandle; value += 4) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags))
            handles.push_back(reinterpret_cast<HANDLE>(value));
    }
    return handles;
}

int FreeTlsSlots() {
    DWORD taken[1100];
    int count = 0;
    while (count < 1100) {
        const DWORD slot = TlsAlloc();
        if (slot == TLS_OUT_OF_INDEXES) break;
        taken[count++] = slot;
    }
    for (int i = 0; i < count; ++i) TlsFree(taken[i]);
    return count;
}

long long LiveWindows() {
    long long count = 0;
    EnumWindows(countTopLevel, reinterpret_cast<LPARAM>(&count));
    return count;
}

std::string DescribeHandle(HANDLE handle) {
    char line[160];
    const std::string type = typeName(handle);
    if (type == "Thread") {
        const DWORD id = GetThreadId(handle);
        const bool running = WaitForSingleObject(handle, 0) == WAIT_TIMEOUT;
        std::snprintf(
            line, sizeof line, "%p Thread %lu%s%s", handle, static_cast<unsigned long>(id),
            id == GetCurrentThreadId() ? " (this thread)" : "", running ? " running" : " ended");
    } else {
        std::snprintf(line, sizeof line, "%p %s", handle, type.c_str());
    }
    return line;
}
