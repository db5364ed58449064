// The entry points of the print engine. A job handle is valid from a successful InitJob to
// DestroyJob; the engine keeps the set of live jobs, so a wrong handle is refused (-5) without
// being dereferenced. Calls out of order are refused (-2) and leave the job as it was; missing
// records are refused (-4). An InitPage or BandOut that fails (or is made to fail) ends the job:
// its handle is no longer valid. DestroyJob always ends it.
#include "engine_p.h"

#include <map>
#include <mutex>

#define ENGINE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

enum class Stage { job, page };

struct Job {
    std::unique_ptr<Engine_Backend> backend;
    std::unique_ptr<Engine_Output> output;
    Stage stage = Stage::job;
};

std::mutex g_mutex;
std::map<Engine_Job_Handle, std::unique_ptr<Job>> g_jobs;

Job* find_job(Engine_Job_Handle handle) {
    auto it = g_jobs.find(handle);
    return it == g_jobs.end() ? nullptr : it->second.get();
}

// Runs a call on a live job: checks the handle and the stage, asks the observer, runs `body`,
// ends the job when it fails, and reports the call.
template <class Body>
std::int32_t on_job(Engine_Call call, Engine_Job_Handle handle, Stage wanted, bool ends_on_failure,
                    Body&& body) {
    std::lock_guard lock(g_mutex);
    Job* job = find_job(handle);
    std::int32_t result = ENGINE_OK;
    bool ran = false;
    if (!job)
        result = ENGINE_ERROR_HANDLE;
    else if (job->stage != wanted)
        result = ENGINE_ERROR_CALL_ORDER;
    else if (Engine_Observer* observer = engine_observer())
        result = observer->forced_result(call.name);
    if (result == ENGINE_OK) {
        result = body(*job);
        ran = true;
    }
    if (job)
        call.output = job->output.get();
    if (Engine_Observer* observer = engine_observer())
        observer->called(call, result);
    // A call refused for its handle or its order leaves the job as it was.
    if (job && result != ENGINE_OK && ends_on_failure && (ran || job->stage == wanted))
        g_jobs.erase(handle);
    return result;
}

} // namespace

Engine_Backend::~Engine_Backend() = default;
Engine_Observer::~Engine_Observer() = default;

void Engine_Output::emit(const void* data, std::size_t size) const {
    auto* bytes = static_cast<const std::uint8_t*>(data);
    // NOTE: pieces of at most 1 MiB keep the callback's count well inside 32 bits.
    constexpr std::size_t piece = std::size_t(1) << 20;
    while (size > 0) {
        std::size_t n = size < piece ? size : piece;
        m_callback(m_context, bytes, std::int32_t(n));
        bytes += n;
        size -= n;
    }
}

void Engine_Output::emit(const char* text) const {
    std::size_t size = 0;
    while (text[size])
        ++size;
    emit(text, size);
}

ENGINE_EXPORT std::int32_t InitJob(Engine_Job_Handle* handle, const Engine_Job_Record* record,
                                   const Engine_Module_Record* modules) {
    std::lock_guard lock(g_mutex);
    Engine_Call call{"InitJob"};
    call.job = record;
    call.modules = modules;
    Engine_Observer* observer = engine_observer();
    std::int32_t result = observer ? observer->forced_result(call.name) : ENGINE_OK;
    std::unique_ptr<Job> job;
    if (result == ENGINE_OK && (!handle || !record || !modules || !modules->output))
        result = ENGINE_ERROR_MEMORY;
    if (result == ENGINE_OK) {
        job = std::make_unique<Job>();
        job->output = std::make_unique<Engine_Output>(modules->output, modules->output_context);
        job->backend = make_engine_backend();
        result = job->backend->init_job(*record, *modules, *job->output);
        call.output = job->output.get();
    }
    if (observer)
        observer->called(call, result);
    if (result != ENGINE_OK)
        return result;
    Engine_Job_Handle id = job.get();
    g_jobs.emplace(id, std::move(job));
    *handle = id;
    return ENGINE_OK;
}

ENGINE_EXPORT std::int32_t InitPage(Engine_Job_Handle handle, const Engine_Page_Record* record) {
    Engine_Call call{"InitPage"};
    call.page = record;
    return on_job(call, handle, Stage::job, true, [&](Job& job) {
        if (!record)
            return std::int32_t(ENGINE_ERROR_MEMORY);
        std::int32_t result = job.backend->init_page(*record);
        if (result == ENGINE_OK)
            job.stage = Stage::page;
        return result;
    });
}

ENGINE_EXPORT std::int32_t BandOut(Engine_Job_Handle handle, const Engine_Rect* band,
                                   const Engine_Band_Buffer* buffer, std::int32_t,
                                   const Engine_Rect* page, std::uint32_t* words) {
    Engine_Call call{"BandOut"};
    call.band = band;
    call.buffer = buffer;
    call.page_rect = page;
    return on_job(call, handle, Stage::page, true, [&](Job& job) {
        if (!band || !buffer || !page || !words || !buffer->rows)
            return std::int32_t(ENGINE_ERROR_MEMORY);
        return job.backend->band_out(*band, *buffer, *page);
    });
}

ENGINE_EXPORT std::int32_t TerminatePage(Engine_Job_Handle handle) {
    return on_job({"TerminatePage"}, handle, Stage::page, false, [](Job& job) {
        std::int32_t result = job.backend->terminate_page();
        job.stage = Stage::job;
        return result;
    });
}

ENGINE_EXPORT std::int32_t DestroyJob(Engine_Job_Handle handle) {
    std::int32_t result = on_job({"DestroyJob"}, handle, Stage::job, false,
                                 [](Job& job) { return job.backend->destroy_job(); });
    if (result != ENGINE_ERROR_HANDLE) {
        std::lock_guard lock(g_mutex);
        g_jobs.erase(handle);
    }
    return result;
}

ENGINE_EXPORT std::int32_t ResetJob(Engine_Job_Handle handle) {
    std::lock_guard lock(g_mutex);
    return find_job(handle) ? ENGINE_ERROR_CALL_ORDER : ENGINE_ERROR_HANDLE;
}

ENGINE_EXPORT std::int32_t TerminatePageEx(Engine_Job_Handle handle) {
    std::lock_guard lock(g_mutex);
    return find_job(handle) ? ENGINE_ERROR_CALL_ORDER : ENGINE_ERROR_HANDLE;
}
