// Inside the print engine stand-ins: the entry points check handles, call order and records,
// then hand the job to the build's backend (PostScript or trace). Each build defines
// make_engine_backend() and engine_observer().
#pragma once

#include "host/print_engine.h"

#include <cstddef>
#include <cstdint>
#include <memory>

/// The output callback of a job's module record.
class Engine_Output {
public:
    Engine_Output(Engine_Output_Callback callback, std::int32_t context)
        : m_callback(callback), m_context(context) {}
    /// Hands the bytes to the callback, in pieces that fit its 32-bit count.
    void emit(const void* data, std::size_t size) const;
    void emit(const char* text) const;

private:
    Engine_Output_Callback m_callback;
    std::int32_t m_context;
};

/// One job of a backend. Calls come in the order the entry points enforce; a non-zero result
/// ends the job.
class Engine_Backend {
public:
    virtual ~Engine_Backend();
    virtual std::int32_t init_job(const Engine_Job_Record& job, const Engine_Module_Record& modules,
                                  const Engine_Output& output) = 0;
    virtual std::int32_t init_page(const Engine_Page_Record& page) = 0;
    virtual std::int32_t band_out(const Engine_Rect& band, const Engine_Band_Buffer& buffer,
                                  const Engine_Rect& page) = 0;
    virtual std::int32_t terminate_page() = 0;
    virtual std::int32_t destroy_job() = 0;
};

std::unique_ptr<Engine_Backend> make_engine_backend();

/// What a call was given, for an observer.
struct Engine_Call {
    const char* name;
    const Engine_Job_Record* job = nullptr;
    const Engine_Module_Record* modules = nullptr;
    const Engine_Page_Record* page = nullptr;
    const Engine_Rect* band = nullptr;
    const Engine_Band_Buffer* buffer = nullptr;
    const Engine_Rect* page_rect = nullptr;
    const Engine_Output* output = nullptr;
};

/// Sees every call (the trace build writes them down and can make one fail).
class Engine_Observer {
public:
    virtual ~Engine_Observer();
    /// A result to return instead of running the call, or 0 to run it.
    virtual std::int32_t forced_result(const char* call) = 0;
    virtual void called(const Engine_Call& call, std::int32_t result) = 0;
};

/// The build's observer, or null.
Engine_Observer* engine_observer();
