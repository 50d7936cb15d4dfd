#pragma once

#include <QString>

namespace platform {

// The answer to one ICMP echo request.
struct EchoReply {
    enum class Status { Reply, Error, TimeOut, Unreachable, TtlExceeded };
    Status status = Status::TimeOut;
    QString source;  // the address the answer came from; empty on a time-out
    int bytes = 0;   // bytes of the ICMP message received
    int timeMs = 0;
    int ttl = 0;
};

// ICMP echo (ping) over IPv4 without administrator rights: an ICMP datagram socket, which the
// system allows to the groups in net.ipv4.ping_group_range; a raw socket where the process may
// open one; else the system's ping program.
class IcmpEcho {
public:
    enum class Method { Automatic, DatagramSocket, RawSocket, PingProgram };

    explicit IcmpEcho(Method method = Method::Automatic) : method_(method) {}

    // Whether this process can send echo requests that way (Automatic: in any way).
    static bool available(Method method);

    // Sends one echo request (no payload, sequence number 0) to the host and waits up to
    // timeoutMs for its answer. Throws std::runtime_error with a German message when the host is
    // unknown, the request cannot be sent or no way to send it is open to this process.
    EchoReply send(const QString& host, int timeoutMs) const;

    // The answer as the system's ping program reports it ("-n -c 1"). Throws std::runtime_error
    // with the program's message when it reports a failure of its own (exit code 2).
    static EchoReply parsePingOutput(const QString& output, int exitCode);

private:
    Method method_;
};

}  // namespace platform
