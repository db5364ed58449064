// Sending a job to a printer while the driver writes it: the driver writes into a pipe (its
// output channel opens the pipe's name like a device file), and a thread forwards what arrives
// to a raw socket printer (socket://HOST:PORT, the port-9100 protocol) or to an IPP printer or
// CUPS queue (ipp://HOST:PORT/PATH, one Print-Job request, application/postscript).
//
// When the printer refuses or drops the connection the thread closes the pipe, so the driver's
// next write comes up short, as on a full disk; the error is kept for the host's message.
#pragma once

#include <memory>
#include <string>
#include <thread>

class Device_Output {
public:
    /// Checks the device name (throws std::invalid_argument naming what is wrong) and starts the
    /// forwarding thread. `job_name` names the IPP job.
    Device_Output(const std::string& device, const std::string& job_name);
    /// Closes the pipe if the driver did not, and waits for the thread.
    ~Device_Output();
    Device_Output(const Device_Output&) = delete;
    Device_Output& operator=(const Device_Output&) = delete;

    /// The name the driver's output channel opens ("/dev/fd/N").
    const std::string& channel() const { return m_channel; }
    /// Ends the job once the driver closed its channel: waits for the thread. True when the
    /// printer took every byte; otherwise error() says why.
    bool finish();
    const std::string& error() const { return m_error; }
    /// The IPP job id, 0 for a socket printer.
    int job_id() const { return m_job_id; }

private:
    void forward();

    std::string m_device, m_job_name, m_channel, m_error;
    int m_read = -1, m_write = -1;
    int m_job_id = 0;
    bool m_ok = false;
    std::thread m_thread;
};
