// Objects, reference counting and text of the host framework.
//
// Every host and driver object derives from VX_Object and is allocated through its allocator.
// Shared objects travel as VX_Smart_Pointer, whose counts live in one process-wide pool (SPMP)
// keyed by the object's address, so any two smart pointers to one object share its count however
// they were made; the last release deletes the object. VX_Counted objects carry an interlocked
// count of their own instead, for objects the host hands around by plain pointer.
#pragma once

#include <atomic>
#include <cstddef>
#include <new>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#define VX_API __attribute__((visibility("default")))

/// Text of the host framework: wide characters (UTF-32 on POSIX).
using VX_String = std::wstring;

/// Base of every host and driver object.
class VX_API VX_Object {
public:
    VX_Object();
    VX_Object(const VX_Object&);
    VX_Object& operator=(const VX_Object&) = default;
    virtual ~VX_Object();

    /// The host's object allocator. The nothrow form returns null when memory is exhausted; the
    /// creators of the class factories use it so that they answer null instead of throwing.
    static void* operator new(std::size_t size);
    static void* operator new(std::size_t size, const std::nothrow_t&) noexcept;
    static void operator delete(void* block) noexcept;
    static void operator delete(void* block, const std::nothrow_t&) noexcept;

    /// Number of VX_Object instances alive in the process. Leak checks compare it before and after.
    static long live_objects();
};

/// The pool SPMP that keeps the counts of all smart pointers.
class VX_API VX_SPMP {
public:
    /// Adds one reference to `object`.
    static void acquire(const void* object);
    /// Drops one reference; true when it was the last, and the caller then deletes the object.
    static bool release(const void* object);
    /// Current count of `object`; 0 when it has none.
    static long count(const void* object);
};

/// Counted reference to a VX_Object, counted through VX_SPMP.
template <class T>
class VX_Smart_Pointer {
public:
    VX_Smart_Pointer() = default;
    VX_Smart_Pointer(std::nullptr_t) {}
    /// Takes a reference to `object` (null allowed).
    explicit VX_Smart_Pointer(T* object) : m_object(object) { acquire(); }
    VX_Smart_Pointer(const VX_Smart_Pointer& other) : m_object(other.m_object) { acquire(); }
    VX_Smart_Pointer(VX_Smart_Pointer&& other) noexcept
        : m_object(std::exchange(other.m_object, nullptr)) {}
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    VX_Smart_Pointer(const VX_Smart_Pointer<U>& other) : m_object(other.get()) {
        acquire();
    }
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    VX_Smart_Pointer(VX_Smart_Pointer<U>&& other) noexcept : m_object(other.detach()) {}
    ~VX_Smart_Pointer() { reset(); }

    VX_Smart_Pointer& operator=(VX_Smart_Pointer other) noexcept {
        std::swap(m_object, other.m_object);
        return *this;
    }

    /// Drops the reference; the last one deletes the object.
    void reset() {
        if (T* object = std::exchange(m_object, nullptr); object && VX_SPMP::release(key(object)))
            delete object;
    }
    /// Gives up the reference without releasing it (the caller now owns one reference).
    T* detach() { return std::exchange(m_object, nullptr); }

    T* get() const { return m_object; }
    T* operator->() const { return m_object; }
    T& operator*() const { return *m_object; }
    explicit operator bool() const { return m_object != nullptr; }
    friend bool operator==(const VX_Smart_Pointer& a, const VX_Smart_Pointer& b) {
        return a.m_object == b.m_object;
    }

private:
    // The pool is keyed by the most derived object, so bases of one object share a count.
    static const void* key(T* object) { return dynamic_cast<const void*>(object); }
    void acquire() {
        if (m_object)
            VX_SPMP::acquire(key(m_object));
    }

    T* m_object = nullptr;
};

/// Creates a new T held by a smart pointer.
template <class T, class... Args>
VX_Smart_Pointer<T> vx_make(Args&&... args) {
    return VX_Smart_Pointer<T>(new T(std::forward<Args>(args)...));
}

/// Object with an interlocked reference count of its own; the last release deletes it.
class VX_API VX_Counted : public VX_Object {
public:
    VX_Counted() = default;
    VX_Counted(const VX_Counted&) : VX_Object() {}
    VX_Counted& operator=(const VX_Counted&) { return *this; }
    ~VX_Counted() override;
    /// Adds a reference; returns the new count.
    long add_reference() const;
    /// Drops a reference and deletes the object when it was the last; returns the new count.
    long release_reference() const;
    long reference_count() const { return m_count.load(); }

private:
    mutable std::atomic<long> m_count{1};
};

/// Failure injection and call tracing for the creators of the class factories, for hosts and tests
/// that must see how the driver copes with a creator that returns null.
class VX_API VX_Creation_Faults {
public:
    /// The (skip + 1)-th call of the creator named `creator` from now on returns null, once.
    static void fail(const std::string& creator, int skip = 0);
    /// Forgets every armed failure and the call trace.
    static void clear();
    /// True when the creator named `creator` is to fail now; records the call in the trace.
    static bool consume(const char* creator);
    /// Records a named host call (setters record themselves) in the trace.
    static void trace(const char* call);
    /// The trace: every creator call and setter call since the last clear, in order.
    static std::vector<std::string> calls();
};

/// Creator helper: a new T, or null when the allocation fails or a failure is injected for
/// `creator`. Exceptions of T's constructor pass through.
template <class T, class... Args>
VX_Smart_Pointer<T> vx_create(const char* creator, Args&&... args) {
    if (VX_Creation_Faults::consume(creator))
        return nullptr;
    return VX_Smart_Pointer<T>(new (std::nothrow) T(std::forward<Args>(args)...));
}
