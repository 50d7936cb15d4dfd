#include "Icmp.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <stdexcept>

#include <arpa/inet.h>
#include <linux/errqueue.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/ip_icmp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::uint8_t EchoRequest = 8;
constexpr std::uint8_t EchoAnswer = 0;
constexpr std::uint8_t DestinationUnreachable = 3;
constexpr std::uint8_t TimeExceeded = 11;

[[noreturn]] void fail(const QString& text)
{
    throw std::runtime_error(text.toStdString());
}

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

class Socket {
public:
    explicit Socket(int fd) : fd_(fd) {}
    ~Socket()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

int openSocket(IcmpEcho::Method method)
{
    return ::socket(AF_INET,
                    (method == IcmpEcho::Method::RawSocket ? SOCK_RAW : SOCK_DGRAM) | SOCK_CLOEXEC,
                    IPPROTO_ICMP);
}

bool socketAvailable(IcmpEcho::Method method)
{
    Socket s(openSocket(method));
    return s.fd() >= 0;
}

sockaddr_in resolve(const QString& host)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* result = nullptr;
    const int code = ::getaddrinfo(host.toUtf8().constData(), nullptr, &hints, &result);
    if (code != 0 || !result)
        fail(QStringLiteral("Der Rechner \"%1\" ist nicht bekannt: %2")
                 .arg(host, QString::fromLocal8Bit(::gai_strerror(code))));
    sockaddr_in address{};
    std::memcpy(&address, result->ai_addr, sizeof address);
    ::freeaddrinfo(result);
    return address;
}

std::uint16_t checksum(const std::uint8_t* data, std::size_t length)
{
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i + 1 < length; i += 2)
        sum += std::uint32_t(data[i] << 8 | data[i + 1]);
    if (length % 2)
        sum += std::uint32_t(data[length - 1] << 8);
    while (sum >> 16)
        sum = (sum & 0xffff) + (sum >> 16);
    return std::uint16_t(~sum);
}

std::uint16_t readWord(const std::uint8_t* p)
{
    return std::uint16_t(p[0] << 8 | p[1]);
}

QString addressText(const in_addr& address)
{
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &address, text, sizeof text);
    return QString::fromLatin1(text);
}

int elapsedMs(Clock::time_point start)
{
    return int(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

EchoReply::Status errorStatus(int icmpType)
{
    switch (icmpType) {
        case DestinationUnreachable:
            return EchoReply::Status::Unreachable;
        case TimeExceeded:
            return EchoReply::Status::TtlExceeded;
        default:
            return EchoReply::Status::Error;
    }
}

// A datagram socket: the system sets the identifier and delivers only our answers; errors arrive
// on the socket's error queue.
bool readDatagram(int fd, std::uint16_t sequence, Clock::time_point start, EchoReply& reply)
{
    std::array<std::uint8_t, 1500> buffer{};
    std::array<char, 512> control{};
    sockaddr_in from{};
    iovec io{buffer.data(), buffer.size()};
    msghdr message{};
    message.msg_name = &from;
    message.msg_namelen = sizeof from;
    message.msg_iov = &io;
    message.msg_iovlen = 1;
    message.msg_control = control.data();
    message.msg_controllen = control.size();
    const ssize_t length = ::recvmsg(fd, &message, MSG_DONTWAIT);
    if (length < 0) {
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
            fail(QStringLiteral("Die Antwort kann nicht gelesen werden: %1")
                     .arg(systemError(errno)));
        return false;
    }
    if (length < 8 || buffer[0] != EchoAnswer || readWord(&buffer[6]) != sequence)
        return false;
    reply.status = EchoReply::Status::Reply;
    reply.source = addressText(from.sin_addr);
    reply.bytes = int(length);
    reply.timeMs = elapsedMs(start);
    for (cmsghdr* c = CMSG_FIRSTHDR(&message); c; c = CMSG_NXTHDR(&message, c))
        if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_TTL)
            std::memcpy(&reply.ttl, CMSG_DATA(c), sizeof reply.ttl);
    return true;
}

bool readErrorQueue(int fd, Clock::time_point start, EchoReply& reply)
{
    std::array<std::uint8_t, 1500> buffer{};
    std::array<char, 512> control{};
    iovec io{buffer.data(), buffer.size()};
    msghdr message{};
    message.msg_iov = &io;
    message.msg_iovlen = 1;
    message.msg_control = control.data();
    message.msg_controllen = control.size();
    const ssize_t length = ::recvmsg(fd, &message, MSG_ERRQUEUE | MSG_DONTWAIT);
    if (length < 0)
        return false;
    for (cmsghdr* c = CMSG_FIRSTHDR(&message); c; c = CMSG_NXTHDR(&message, c)) {
        if (c->cmsg_level != IPPROTO_IP || c->cmsg_type != IP_RECVERR)
            continue;
        const auto* error = reinterpret_cast<const sock_extended_err*>(CMSG_DATA(c));
        if (error->ee_origin != SO_EE_ORIGIN_ICMP)
            continue;
        reply.status = errorStatus(error->ee_type);
        const auto* offender = reinterpret_cast<const sockaddr_in*>(SO_EE_OFFENDER(error));
        reply.source = addressText(offender->sin_addr);
        reply.bytes = int(length);
        reply.timeMs = elapsedMs(start);
        return true;
    }
    return false;
}

// A raw socket sees every ICMP message of the machine, with its IP header: ours are those that
// carry our identifier, in the answer itself or in the request an error message quotes.
bool readRaw(int fd, std::uint16_t identifier, std::uint16_t sequence, Clock::time_point start,
             EchoReply& reply)
{
    std::array<std::uint8_t, 1500> buffer{};
    sockaddr_in from{};
    socklen_t fromLength = sizeof from;
    const ssize_t length = ::recvfrom(fd, buffer.data(), buffer.size(), MSG_DONTWAIT,
                                      reinterpret_cast<sockaddr*>(&from), &fromLength);
    if (length < 0) {
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
            fail(QStringLiteral("Die Antwort kann nicht gelesen werden: %1")
                     .arg(systemError(errno)));
        return false;
    }
    const std::size_t header = std::size_t(buffer[0] & 0x0f) * 4;
    if (std::size_t(length) < header + 8)
        return false;
    const std::uint8_t* icmp = buffer.data() + header;
    const std::uint8_t type = icmp[0];
    if (type == EchoAnswer) {
        if (readWord(icmp + 4) != identifier || readWord(icmp + 6) != sequence)
            return false;
        reply.status = EchoReply::Status::Reply;
    } else if (type == EchoRequest) {
        return false;
    } else {
        // The quoted request: its IP header, then its first 8 ICMP bytes.
        const std::uint8_t* quoted = icmp + 8;
        if (std::size_t(length) < header + 8 + 20)
            return false;
        const std::size_t quotedHeader = std::size_t(quoted[0] & 0x0f) * 4;
        if (std::size_t(length) < header + 8 + quotedHeader + 8)
            return false;
        const std::uint8_t* request = quoted + quotedHeader;
        if (request[0] != EchoRequest || readWord(request + 4) != identifier)
            return false;
        reply.status = errorStatus(type);
    }
    reply.source = addressText(from.sin_addr);
    reply.bytes = int(std::size_t(length) - header);
    reply.timeMs = elapsedMs(start);
    reply.ttl = buffer[8];
    return true;
}

EchoReply socketEcho(IcmpEcho::Method method, const sockaddr_in& target, int timeoutMs)
{
    Socket socket(openSocket(method));
    if (socket.fd() < 0)
        fail(QStringLiteral("Der Ping-Test ist diesem Benutzer nicht erlaubt: %1")
                 .arg(systemError(errno)));
    const bool raw = method == IcmpEcho::Method::RawSocket;
    const int on = 1;
    if (!raw) {
        ::setsockopt(socket.fd(), IPPROTO_IP, IP_RECVERR, &on, sizeof on);
        ::setsockopt(socket.fd(), IPPROTO_IP, IP_RECVTTL, &on, sizeof on);
    }
    const std::uint16_t identifier =
        std::uint16_t(::getpid() ^ reinterpret_cast<std::uintptr_t>(&socket));
    const std::uint16_t sequence = 0;
    std::array<std::uint8_t, 8> request{
        EchoRequest, 0, 0, 0, std::uint8_t(identifier >> 8), std::uint8_t(identifier & 0xff), 0, 0};
    const std::uint16_t sum = checksum(request.data(), request.size());
    request[2] = std::uint8_t(sum >> 8);
    request[3] = std::uint8_t(sum & 0xff);

    const Clock::time_point start = Clock::now();
    if (::sendto(socket.fd(), request.data(), request.size(), 0,
                 reinterpret_cast<const sockaddr*>(&target), sizeof target) < 0)
        fail(QStringLiteral("Die Anfrage an %1 kann nicht gesendet werden: %2")
                 .arg(addressText(target.sin_addr), systemError(errno)));

    EchoReply reply;
    const Clock::time_point deadline = start + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return reply;
        pollfd p{socket.fd(), POLLIN, 0};
        const int ready = ::poll(&p, 1, int(left));
        if (ready < 0 && errno != EINTR)
            fail(QStringLiteral("Auf die Antwort kann nicht gewartet werden: %1")
                     .arg(systemError(errno)));
        if (ready <= 0)
            continue;
        if (raw) {
            if (readRaw(socket.fd(), identifier, sequence, start, reply))
                return reply;
            continue;
        }
        if ((p.revents & POLLERR) && readErrorQueue(socket.fd(), start, reply))
            return reply;
        if ((p.revents & POLLIN) && readDatagram(socket.fd(), sequence, start, reply))
            return reply;
    }
}

QString pingProgram()
{
    return QStandardPaths::findExecutable(QStringLiteral("ping"));
}

EchoReply programEcho(const QString& host, int timeoutMs)
{
    const QString program = pingProgram();
    if (program.isEmpty())
        fail(QStringLiteral("Das Programm \"ping\" ist auf diesem Rechner nicht vorhanden."));
    const int seconds = std::max(1, int(std::ceil(timeoutMs / 1000.0)));
    QProcess ping;
    ping.setProcessChannelMode(QProcess::MergedChannels);
    ping.start(program, {QStringLiteral("-n"), QStringLiteral("-c"), QStringLiteral("1"),
                         QStringLiteral("-W"), QString::number(seconds), host});
    if (!ping.waitForStarted())
        fail(QStringLiteral("Das Programm \"ping\" kann nicht gestartet werden: %1")
                 .arg(ping.errorString()));
    if (!ping.waitForFinished(seconds * 1000 + 5000)) {
        ping.kill();
        ping.waitForFinished();
        return {};
    }
    if (ping.exitStatus() != QProcess::NormalExit)
        fail(QStringLiteral("Das Programm \"ping\" ist abgebrochen."));
    return IcmpEcho::parsePingOutput(QString::fromLocal8Bit(ping.readAll()), ping.exitCode());
}

}  // namespace

bool IcmpEcho::available(Method method)
{
    switch (method) {
        case Method::DatagramSocket:
        case Method::RawSocket:
            return socketAvailable(method);
        case Method::PingProgram:
            return !pingProgram().isEmpty();
        case Method::Automatic:
            break;
    }
    return socketAvailable(Method::DatagramSocket) || socketAvailable(Method::RawSocket) ||
           !pingProgram().isEmpty();
}

EchoReply IcmpEcho::send(const QString& host, int timeoutMs) const
{
    Method method = method_;
    if (method == Method::Automatic) {
        if (socketAvailable(Method::DatagramSocket))
            method = Method::DatagramSocket;
        else if (socketAvailable(Method::RawSocket))
            method = Method::RawSocket;
        else
            method = Method::PingProgram;
    }
    if (method == Method::PingProgram)
        return programEcho(host, timeoutMs);
    return socketEcho(method, resolve(host), timeoutMs);
}

EchoReply IcmpEcho::parsePingOutput(const QString& output, int exitCode)
{
    static const QRegularExpression answer(
        QStringLiteral(R"(^(\d+) bytes from ([^\s:]+).*?ttl=(\d+) time=([\d.]+) ms)"),
        QRegularExpression::MultilineOption);
    static const QRegularExpression from(QStringLiteral(R"(^From ([^\s:]+)\S* icmp_seq=\d+ (.*)$)"),
                                         QRegularExpression::MultilineOption);
    EchoReply reply;
    if (const QRegularExpressionMatch m = answer.match(output); m.hasMatch()) {
        reply.status = EchoReply::Status::Reply;
        reply.bytes = m.captured(1).toInt();
        reply.source = m.captured(2);
        reply.ttl = m.captured(3).toInt();
        reply.timeMs = int(std::lround(m.captured(4).toDouble()));
        return reply;
    }
    if (const QRegularExpressionMatch m = from.match(output); m.hasMatch()) {
        const QString text = m.captured(2);
        reply.source = m.captured(1);
        if (text.contains(QStringLiteral("Unreachable"), Qt::CaseInsensitive))
            reply.status = EchoReply::Status::Unreachable;
        else if (text.contains(QStringLiteral("Time to live exceeded"), Qt::CaseInsensitive))
            reply.status = EchoReply::Status::TtlExceeded;
        else
            reply.status = EchoReply::Status::Error;
        return reply;
    }
    if (exitCode == 1)
        return reply;
    fail(QStringLiteral("Das Programm \"ping\" meldet: %1").arg(output.trimmed()));
}

}  // namespace platform
