#include "host/vx_object.h"

#include <cstdlib>
#include <map>
#include <mutex>
#include <unordered_map>

namespace {

std::atomic<long> g_live_objects{0};

struct Pool {
    std::mutex mutex;
    std::unordered_map<const void*, long> counts;
};

Pool& pool() {
    // Never destroyed: smart pointers held by objects with static storage may release late.
    static Pool* p = new Pool;
    return *p;
}

struct Faults {
    std::mutex mutex;
    std::map<std::string, int> armed; // creator -> calls to let through before failing
    std::vector<std::string> trace;
};

Faults& faults() {
    static Faults* f = new Faults;
    return *f;
}

} // namespace

VX_Object::VX_Object() {
    ++g_live_objects;
}
VX_Object::VX_Object(const VX_Object&) {
    ++g_live_objects;
}
VX_Object::~VX_Object() {
    --g_live_objects;
}

void* VX_Object::operator new(std::size_t size) {
    return ::operator new(size);
}
void* VX_Object::operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return ::operator new(size, std::nothrow);
}
void VX_Object::operator delete(void* block) noexcept {
    ::operator delete(block);
}
void VX_Object::operator delete(void* block, const std::nothrow_t&) noexcept {
    ::operator delete(block);
}
long VX_Object::live_objects() {
    return g_live_objects.load();
}

void VX_SPMP::acquire(const void* object) {
    std::lock_guard lock(pool().mutex);
    ++pool().counts[object];
}

bool VX_SPMP::release(const void* object) {
    std::lock_guard lock(pool().mutex);
    auto it = pool().counts.find(object);
    if (it == pool().counts.end())
        return false; // not counted here: somebody else owns it
    if (--it->second > 0)
        return false;
    pool().counts.erase(it);
    return true;
}

long VX_SPMP::count(const void* object) {
    std::lock_guard lock(pool().mutex);
    auto it = pool().counts.find(object);
    return it == pool().counts.end() ? 0 : it->second;
}

VX_Counted::~VX_Counted() = default;

long VX_Counted::add_reference() const {
    return ++m_count;
}

long VX_Counted::release_reference() const {
    long left = --m_count;
    if (left == 0)
        delete this;
    return left;
}

void VX_Creation_Faults::fail(const std::string& creator, int skip) {
    std::lock_guard lock(faults().mutex);
    faults().armed[creator] = skip;
}

void VX_Creation_Faults::clear() {
    std::lock_guard lock(faults().mutex);
    faults().armed.clear();
    faults().trace.clear();
}

bool VX_Creation_Faults::consume(const char* creator) {
    std::lock_guard lock(faults().mutex);
    faults().trace.emplace_back(creator);
    auto it = faults().armed.find(creator);
    if (it == faults().armed.end())
        return false;
    if (it->second-- > 0)
        return false;
    faults().armed.erase(it);
    return true;
}

void VX_Creation_Faults::trace(const char* call) {
    std::lock_guard lock(faults().mutex);
    faults().trace.emplace_back(call);
}

std::vector<std::string> VX_Creation_Faults::calls() {
    std::lock_guard lock(faults().mutex);
    return faults().trace;
}
