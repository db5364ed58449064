// Plotting the example to a real IPP printer: ippeveprinter on a free loopback port, keeping the
// jobs it receives and checking each with Ghostscript (the printer itself accepts any bytes).
#include "support/host_layout.h"
#include "support/process.h"

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// Starts a program with its output and errors going to `log`.
pid_t spawn(const std::vector<std::string>& arguments, const fs::path& log) {
    return start_process(arguments, log, log);
}

bool installed(const char* program) {
    return std::system((std::string("command -v ") + program + " >/dev/null 2>&1").c_str()) == 0;
}

int free_port() {
    int s = socket(AF_INET, SOCK_STREAM, 0);
    int port = bind_loopback(s);
    close(s);
    return port;
}

bool accepts_connections(int port) {
    int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(std::uint16_t(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bool ok = connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(s);
    return ok;
}

// Whether a system bus answers on its socket (a socket file alone may be left from a bus that
// is gone).
bool system_bus_running() {
    int s = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, "/run/dbus/system_bus_socket");
    bool ok = connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(s);
    return ok;
}

// The pixels Ghostscript renders from printer data at 50 dpi.
std::string rendered(const fs::path& printer_data, const fs::path& scratch) {
    fs::path out = scratch / "rendered.ppm";
    std::string command =
        "gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=ppmraw -r50 -sOutputFile=" + out.string() + " " +
        printer_data.string();
    return std::system(command.c_str()) == 0 ? read_file(out) : "";
}

TEST(IppPrinter, TakesTheExampleAndPrintsIt) {
    for (const char* program : {"ippeveprinter", "ipptool", "dbus-daemon", "gs"})
        ASSERT_TRUE(installed(program)) << program << " is not installed (scripts/bootstrap.sh)";
    Host_Layout scratch;
    const fs::path dir = scratch.root();
    const fs::path example = fs::path(VX_SOURCE_DIR) / "examples" / "site-plan.json";

    // ippeveprinter registers with DNS-SD, which needs a system bus: start one unless one runs.
    pid_t bus = -1;
    if (!system_bus_running()) {
        fs::create_directories("/run/dbus");
        fs::remove("/run/dbus/system_bus_socket");
        bus = spawn({"dbus-daemon", "--system", "--nofork", "--nopidfile"}, dir / "dbus.log");
        for (int i = 0; i < 100 && !system_bus_running(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    const fs::path check = dir / "check.sh";
    std::ofstream(check) << "#!/bin/sh\nexec gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=nullpage "
                            "\"$1\"\n";
    fs::permissions(check, fs::perms::owner_all);
    fs::create_directories(dir / "spool");
    const int port = free_port();
    pid_t printer = spawn({"ippeveprinter", "-n", "localhost", "-p", std::to_string(port), "-r",
                           "off", "-f", "application/postscript", "-k", "-d",
                           (dir / "spool").string(), "-c", check.string(), "qr7m-test"},
                          dir / "printer.log");
    ASSERT_GT(printer, 0);
    for (int i = 0; i < 250 && !accepts_connections(port); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));

    const std::string uri = "ipp://localhost:" + std::to_string(port) + "/ipp/print";
    const std::string vxplot = std::string(VX_STAGE_DIR) + "/bin/vxplot";
    const std::vector<std::string> common = {
        vxplot,
        "plot",
        example.string(),
        "-c",
        (fs::path(VX_SOURCE_DIR) / "examples" / "plot-config.json").string(),
        "-r",
        "360"};
    auto with = [&](std::vector<std::string> extra) {
        std::vector<std::string> args = common;
        args.insert(args.end(), extra.begin(), extra.end());
        return args;
    };
    int sent = wait_for(spawn(with({"-d", uri}), dir / "vxplot.log"));
    int filed = wait_for(spawn(with({"-o", (dir / "file.ps").string()}), dir / "file.log"));

    // The job completes (job-state 9) once the checking command has rendered it.
    const fs::path query = dir / "job.test";
    std::ofstream(query)
        << "{\n OPERATION Get-Job-Attributes\n GROUP operation-attributes-tag\n"
           " ATTR charset attributes-charset utf-8\n"
           " ATTR naturalLanguage attributes-natural-language en\n"
           " ATTR uri printer-uri $uri\n ATTR integer job-id 1\n"
           " STATUS successful-ok\n EXPECT job-state OF-TYPE enum WITH-VALUE 9\n}\n";
    bool completed = false;
    for (int i = 0; i < 100 && sent == 0 && !completed; ++i) {
        completed =
            wait_for(spawn({"ipptool", "-q", uri, query.string()}, dir / "ipptool.log")) == 0;
        if (!completed)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    fs::path kept;
    for (const auto& entry : fs::directory_iterator(dir / "spool"))
        if (entry.path().extension() == ".ps")
            kept = entry.path();

    stop_process(printer);
    if (bus > 0) {
        stop_process(bus);
        fs::remove("/run/dbus/system_bus_socket"); // a stale socket would pass for a running bus
    }

    ASSERT_EQ(sent, 0) << read_file(dir / "vxplot.log");
    ASSERT_EQ(filed, 0) << read_file(dir / "file.log");
    EXPECT_TRUE(completed) << read_file(dir / "printer.log");
    ASSERT_FALSE(kept.empty()) << "the printer kept no job";
    const std::string from_printer = rendered(kept, dir),
                      from_file = rendered(dir / "file.ps", dir);
    EXPECT_GT(from_file.size(), 100000u);
    EXPECT_TRUE(from_printer == from_file) << "the job the printer kept renders differently";
}

} // namespace
