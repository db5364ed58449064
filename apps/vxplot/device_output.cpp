#include "device_output.h"

#include <cerrno>
#include <cstring>
#include <cups/cups.h>
#include <fcntl.h>
#include <netdb.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace {

struct Address {
    std::string scheme, host, resource;
    int port = 0;
};

Address parse_device(const std::string& device) {
    auto refuse = [&](const std::string& why) -> Address {
        throw std::invalid_argument("device \"" + device + "\" " + why);
    };
    Address a;
    const std::size_t scheme_end = device.find("://");
    if (scheme_end == std::string::npos)
        return refuse("is not socket://HOST:PORT or ipp://HOST:PORT/PATH");
    a.scheme = device.substr(0, scheme_end);
    if (a.scheme != "socket" && a.scheme != "ipp")
        return refuse("is not socket://HOST:PORT or ipp://HOST:PORT/PATH");
    std::string rest = device.substr(scheme_end + 3);
    const std::size_t slash = rest.find('/');
    a.resource = slash == std::string::npos ? "/" : rest.substr(slash);
    rest = rest.substr(0, slash);
    const std::size_t colon = rest.find(':');
    a.host = rest.substr(0, colon);
    if (a.host.empty())
        return refuse("names no host");
    a.port = a.scheme == "socket" ? 9100 : 631;
    if (colon != std::string::npos) {
        const std::string port = rest.substr(colon + 1);
        if (port.empty() || port.size() > 5 ||
            port.find_first_not_of("0123456789") != std::string::npos)
            return refuse("has no port number after \":\"");
        a.port = std::stoi(port);
    }
    if (a.port < 1 || a.port > 65535)
        return refuse(": port " + std::to_string(a.port) + " is not from 1 to 65535");
    if (a.scheme == "ipp" && slash == std::string::npos)
        return refuse("needs a path, such as /ipp/print");
    return a;
}

// Writes all bytes to a socket; false when the peer is gone.
bool send_all(int socket, const char* data, ssize_t length) {
    while (length > 0) {
        ssize_t sent = ::send(socket, data, std::size_t(length), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0)
            return false;
        data += sent;
        length -= sent;
    }
    return true;
}

int connect_to(const Address& a, std::string& error) {
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (int e = getaddrinfo(a.host.c_str(), std::to_string(a.port).c_str(), &hints, &found)) {
        error = a.host + ": " + gai_strerror(e);
        return -1;
    }
    int s = -1;
    for (addrinfo* i = found; i && s < 0; i = i->ai_next) {
        s = ::socket(i->ai_family, i->ai_socktype | SOCK_CLOEXEC, i->ai_protocol);
        if (s >= 0 && ::connect(s, i->ai_addr, i->ai_addrlen) != 0) {
            error = a.host + ":" + std::to_string(a.port) + ": " + std::strerror(errno);
            ::close(s);
            s = -1;
        }
    }
    freeaddrinfo(found);
    return s;
}

} // namespace

Device_Output::Device_Output(const std::string& device, const std::string& job_name)
    : m_device(device), m_job_name(job_name) {
    parse_device(device);
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        throw std::runtime_error(std::string("cannot make a pipe: ") + std::strerror(errno));
    m_read = ends[0];
    m_write = ends[1];
    m_channel = "/dev/fd/" + std::to_string(m_write);
    m_thread = std::thread([this] { forward(); });
}

Device_Output::~Device_Output() {
    finish();
}

bool Device_Output::finish() {
    if (m_write >= 0) {
        ::close(m_write);
        m_write = -1;
    }
    if (m_thread.joinable())
        m_thread.join();
    return m_ok;
}

void Device_Output::forward() {
    const Address a = parse_device(m_device);
    char buffer[65536];
    int socket = -1;
    http_t* http = nullptr;
    bool started = false, failed = false;
    std::size_t total = 0;
    for (;;) {
        ssize_t n = ::read(m_read, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        if (!started) {
            // Connect at the first bytes: a job the driver never writes is never sent.
            started = true;
            if (a.scheme == "socket") {
                socket = connect_to(a, m_error);
                failed = socket < 0;
            } else {
                http = httpConnect2(a.host.c_str(), a.port, nullptr, AF_UNSPEC,
                                    HTTP_ENCRYPTION_IF_REQUESTED, 1, 30000, nullptr);
                if (!http) {
                    m_error = a.host + ":" + std::to_string(a.port) + ": " + cupsLastErrorString();
                    failed = true;
                } else {
                    char uri[1024];
                    httpAssembleURI(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr,
                                    a.host.c_str(), a.port, a.resource.c_str());
                    ipp_t* request = ippNewRequest(IPP_OP_PRINT_JOB);
                    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
                                 uri);
                    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name",
                                 nullptr, cupsUser());
                    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr,
                                 m_job_name.c_str());
                    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_MIMETYPE, "document-format",
                                 nullptr, "application/postscript");
                    http_status_t status =
                        cupsSendRequest(http, request, a.resource.c_str(), CUPS_LENGTH_VARIABLE);
                    ippDelete(request);
                    if (status != HTTP_STATUS_CONTINUE) {
                        m_error =
                            std::string("the printer refused the job: ") + cupsLastErrorString();
                        failed = true;
                    }
                }
            }
        }
        if (!failed) {
            if (socket >= 0 && !send_all(socket, buffer, n)) {
                m_error =
                    "the printer closed the connection after " + std::to_string(total) + " bytes";
                failed = true;
            } else if (http &&
                       cupsWriteRequestData(http, buffer, std::size_t(n)) != HTTP_STATUS_CONTINUE) {
                m_error = std::string("the printer stopped taking data after ") +
                          std::to_string(total) + " bytes: " + cupsLastErrorString();
                failed = true;
            }
        }
        if (failed) {
            // The driver's next write comes up short.
            ::close(m_read);
            m_read = -1;
            break;
        }
        total += std::size_t(n);
    }
    if (http && !failed) {
        ipp_t* response = cupsGetResponse(http, a.resource.c_str());
        if (cupsLastError() > IPP_STATUS_OK_CONFLICTING) {
            m_error = std::string("the printer did not accept the job: ") + cupsLastErrorString();
            failed = true;
        } else if (ipp_attribute_t* id = ippFindAttribute(response, "job-id", IPP_TAG_INTEGER)) {
            m_job_id = ippGetInteger(id, 0);
        }
        ippDelete(response);
    }
    if (http)
        httpClose(http);
    if (socket >= 0) {
        ::shutdown(socket, SHUT_WR);
        ::close(socket);
    }
    if (m_read >= 0) {
        ::close(m_read);
        m_read = -1;
    }
    m_ok = !failed;
}
