// Output writing: the engine's output callback, the device's write to the output channel, and the
// copy spool that records the first copy for the replay of the others.
#include "module_state.h"
#include "pipeline_p.h"
#include "raster_driver.h"
#include "settings/texts.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

Engine_Module::Engine_Module(const std::wstring& driver_directory) {
    m_module = vxp::load_library(vxp::native_path(driver_directory + L"Z_PENG12.DLL"));
    if (!m_module)
        return;
    auto entry = [this](const char* name) { return vxp::get_proc_address(m_module, name); };
    init_job = reinterpret_cast<Engine_InitJob>(entry("InitJob"));
    init_page = reinterpret_cast<Engine_InitPage>(entry("InitPage"));
    band_out = reinterpret_cast<Engine_BandOut>(entry("BandOut"));
    terminate_page = reinterpret_cast<Engine_TerminatePage>(entry("TerminatePage"));
    destroy_job = reinterpret_cast<Engine_DestroyJob>(entry("DestroyJob"));
    reset_job = reinterpret_cast<Engine_ResetJob>(entry("ResetJob"));
    terminate_page_ex = reinterpret_cast<Engine_TerminatePageEx>(entry("TerminatePageEx"));
    // An engine without its entry points cannot be used.
    if (!init_job || !init_page || !band_out || !terminate_page || !destroy_job) {
        vxp::free_library(m_module);
        m_module = nullptr;
    }
}

Engine_Module::~Engine_Module() {
    vxp::free_library(m_module);
}

void Copy_Spool::record(const void* data, std::int32_t length) {
    if (file < 0 || length <= 0)
        return;
    auto* bytes = static_cast<const char*>(data);
    for (std::int32_t done = 0; done < length;) {
        ssize_t n = ::write(file, bytes + done, std::size_t(length - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += std::int32_t(n);
    }
    if (has_table()) {
        std::int32_t& size = chunks[std::size_t(current)];
        size += length;
        largest = std::max(largest, size);
    }
}

void Copy_Spool::close_chunk() {
    if (!has_table() || std::size_t(current) + 1 >= chunks.size())
        return;
    total += chunks[std::size_t(current)];
    chunks[std::size_t(++current)] = 0;
}

void Copy_Spool::release() {
    if (file >= 0)
        ::close(file);
    file = -1;
    if (!path.empty())
        ::unlink(path.c_str());
    path.clear();
    chunks.clear();
    current = 0;
    total = 0;
    largest = 0;
}

Page_Output_State& page_output_state() {
    static Page_Output_State state;
    return state;
}

std::int32_t raster_engine_output(std::int32_t, const void* data, std::int32_t length) {
    if (RASTER_Driver* driver = raster_module_state().output_driver)
        driver->write_output(data, length);
    page_output_state().spool.record(data, length);
    return 1;
}

std::wstring engine_error_text(std::int32_t code) {
    const settings::Texts& t = settings::g_texts;
    switch (code) {
    case ENGINE_ERROR_SPOOLER:
        return t.engine_spooler_error;
    case ENGINE_ERROR_UNKNOWN:
        return t.engine_unknown_error;
    case ENGINE_ERROR_HANDLE:
        return t.engine_handle_error;
    case ENGINE_ERROR_MEMORY:
        return t.engine_memory_error;
    case ENGINE_ERROR_CALL_ORDER:
        return t.engine_order_error;
    default:
        return t.engine_other_error;
    }
}

std::int32_t RASTER_Driver::write_output(const void* data, long length) {
    if (m_write_failed)
        return 0;
    long written = m_plotter_io ? m_plotter_io->write(data, length) : 0;
    if (written == length)
        return 0;
    if (m_plot_monitor)
        m_plot_monitor->report_status(2);
    m_write_failed = true;
    return 1;
}

void RASTER_Driver::prepare_copy_spool(const VX_String& output_file) {
    Copy_Spool& spool = page_output_state().spool;
    spool.release();
    vxp::Split_Path parts = vxp::split_path(output_file);
    std::string path = vxp::native_path(parts.drive + parts.directory + L"zelto.cpy");
    if (m_copies < 2)
        return;
    if (!parts.base_name.empty() || !parts.extension.empty()) {
        m_copies = 1; // a plot to a file gets one copy
        return;
    }
    // The spool file has a fixed name, often in a shared folder: a planted symbolic link must not
    // redirect the write, so links are never followed (a link there is removed, not written
    // through); a leftover regular file is replaced.
    int file = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (file < 0 && errno == ELOOP && ::unlink(path.c_str()) == 0)
        file = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (file < 0) {
        m_copies = 1; // without a spool file the copies cannot be replayed
        return;
    }
    spool.file = file;
    spool.path = path;
    spool.chunks.assign(std::size_t(std::max(m_page_max_y, 0)) + 10, 0);
}

void RASTER_Driver::replay_copies() {
    Copy_Spool& spool = page_output_state().spool;
    Status_Window& status = page_output_state().status;
    if (m_copies < 2 || spool.file < 0)
        return;
    std::vector<char> buffer(std::size_t(std::max(spool.largest, 1)));
    auto send = [&](std::int64_t offset, std::int32_t size) {
        // A chunk that cannot be read back whole is not sent.
        if (size <= 0 || ::pread(spool.file, buffer.data(), std::size_t(size), offset) != size)
            return;
        if (raster_module_state().output_driver)
            write_output(buffer.data(), size);
    };
    for (std::int32_t copy = 2; copy <= m_copies; ++copy) {
        status.start_replay(spool.current);
        std::int64_t offset = 0;
        for (std::int32_t chunk = 0; chunk <= spool.current; ++chunk) {
            if (is_plot_cancelled()) {
                // The printer still gets the end of the page and of the job once more.
                send(spool.total, spool.chunks[std::size_t(spool.current)]);
                return;
            }
            status.advance();
            send(offset, spool.chunks[std::size_t(chunk)]);
            offset += spool.chunks[std::size_t(chunk)];
        }
    }
}
