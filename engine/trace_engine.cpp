// The trace engine: the same entry points as the print engine, for tests and acceptance checks.
// It appends one JSON object per call to the file named by ZPENG_TRACE: the call's name, its
// result, and its arguments — for InitJob and InitPage every record field keyed by its offset in
// the engine's 32-bit layout (sub-records nested under the offset of their pointer, texts as
// strings), for BandOut the two rectangles and an FNV-1a checksum of the band's pixels. Each call
// emits a few deterministic bytes of output ("<call>\n"; BandOut adds its rows). ZPENG_FAIL makes
// calls fail: "BandOut:3:-10" fails the third BandOut of a job with -10; several are separated by
// commas. Both variables are read again at every InitJob.
#include "engine/record_fields.h"
#include "engine_p.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <nlohmann/json.hpp>
#include <string>

using json = nlohmann::ordered_json;

namespace {

json fields_json(const Record_Fields& fields) {
    json out = json::object();
    for (auto [offset, value] : fields)
        out[std::to_string(offset)] = value;
    return out;
}

json job_json(const Engine_Job_Record& job) {
    json out = fields_json(record_fields(job));
    out["104"] = job.borderless ? fields_json(record_fields(*job.borderless)) : json(nullptr);
    out["116"] = job.adjustments ? fields_json(record_fields(*job.adjustments)) : json(nullptr);
    if (job.ink) {
        json ink = fields_json(record_fields(*job.ink));
        json row = json::array(); // columns C1 to C17 of the print mode row
        for (int c = 0; c < 17 && job.ink->mode_row; ++c)
            row.push_back(job.ink->mode_row[c]);
        ink["4"] = job.ink->mode_row ? row : json(nullptr);
        out["120"] = ink;
    } else {
        out["120"] = nullptr;
    }
    return out;
}

json text(const char* value) {
    return value ? json(value) : json(nullptr);
}

json modules_json(const Engine_Module_Record& modules) {
    json out = fields_json(record_fields(modules));
    out["0"] = text(modules.screen_module);
    out["4"] = text(modules.conversion_module);
    json tables = json::array();
    for (const char* const* t = modules.table_modules; t && *t; ++t)
        tables.push_back(*t);
    out["8"] = modules.table_modules ? tables : json(nullptr);
    out["16"] = modules.output != nullptr;
    return out;
}

json rect_json(const Engine_Rect* r) {
    return r ? json::array({r->left, r->top, r->right, r->bottom}) : json(nullptr);
}

std::uint32_t band_checksum(const Engine_Rect& band, const Engine_Band_Buffer& buffer) {
    std::uint32_t hash = 2166136261u;
    for (std::int32_t y = 0; y < band.bottom - band.top; ++y) {
        const std::uint8_t* row = buffer.rows + std::size_t(y) * std::size_t(buffer.row_bytes);
        for (std::int32_t i = 0; i < 4 * (band.right - band.left); ++i)
            hash = (hash ^ row[i]) * 16777619u;
    }
    return hash;
}

class Trace_Observer : public Engine_Observer {
public:
    std::int32_t forced_result(const char* call) override {
        if (std::string_view(call) == "InitJob") {
            m_counts.clear();
            m_failures.clear();
            if (const char* failures = std::getenv("ZPENG_FAIL"))
                parse_failures(failures);
        }
        int n = ++m_counts[call];
        auto it = m_failures.find({call, n});
        return it == m_failures.end() ? ENGINE_OK : it->second;
    }

    void called(const Engine_Call& call, std::int32_t result) override {
        emit(call, result);
        const char* path = std::getenv("ZPENG_TRACE");
        if (!path)
            return; // nothing to write: the engine just discards what it gets
        json entry = {{"call", call.name}, {"result", result}};
        if (call.job)
            entry["job"] = job_json(*call.job);
        if (call.modules)
            entry["modules"] = modules_json(*call.modules);
        if (call.page)
            entry["page"] = fields_json(record_fields(*call.page));
        if (call.band || call.page_rect) {
            entry["band"] = rect_json(call.band);
            entry["page_rect"] = rect_json(call.page_rect);
            if (call.band && call.buffer && call.buffer->rows)
                entry["checksum"] = band_checksum(*call.band, *call.buffer);
        }
        write(path, entry);
    }

private:
    // The deterministic bytes a successful call hands to the output callback.
    static void emit(const Engine_Call& call, std::int32_t result) {
        if (call.output && result == ENGINE_OK) {
            std::string bytes = std::string(call.name) + "\n";
            if (call.page_rect)
                bytes = std::string(call.name) + " " + std::to_string(call.page_rect->top) + " " +
                        std::to_string(call.page_rect->bottom) + "\n";
            call.output->emit(bytes.data(), bytes.size());
        }
    }

    void parse_failures(std::string list) {
        std::size_t start = 0;
        while (start < list.size()) {
            std::size_t end = list.find(',', start);
            std::string item = list.substr(start, end - start);
            std::size_t a = item.find(':'), b = item.rfind(':');
            if (a != std::string::npos && b != a)
                m_failures[{item.substr(0, a), std::atoi(item.substr(a + 1, b - a - 1).c_str())}] =
                    std::atoi(item.substr(b + 1).c_str());
            start = end == std::string::npos ? list.size() : end + 1;
        }
    }

    static void write(const char* path, const json& entry) {
        if (std::FILE* file = std::fopen(path, "a")) {
            std::string line = entry.dump() + "\n";
            std::fwrite(line.data(), 1, line.size(), file);
            std::fclose(file);
        }
    }

    std::map<std::string, int> m_counts;
    std::map<std::pair<std::string, int>, std::int32_t> m_failures;
};

// The trace build's jobs do nothing but succeed; the observer writes and emits.
class Trace_Job : public Engine_Backend {
public:
    std::int32_t init_job(const Engine_Job_Record&, const Engine_Module_Record&,
                          const Engine_Output&) override {
        return ENGINE_OK;
    }
    std::int32_t init_page(const Engine_Page_Record&) override { return ENGINE_OK; }
    std::int32_t band_out(const Engine_Rect&, const Engine_Band_Buffer&,
                          const Engine_Rect&) override {
        return ENGINE_OK;
    }
    std::int32_t terminate_page() override { return ENGINE_OK; }
    std::int32_t destroy_job() override { return ENGINE_OK; }
};

} // namespace

std::unique_ptr<Engine_Backend> make_engine_backend() {
    return std::make_unique<Trace_Job>();
}

Engine_Observer* engine_observer() {
    static Trace_Observer observer;
    return &observer;
}
