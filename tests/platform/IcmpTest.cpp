#include <Icmp.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

using platform::EchoReply;
using platform::IcmpEcho;

TEST(IcmpTest, ThePingProgramsReportsReadAsTheirStatus)
{
    struct Fall {
        const char* name;
        const char* ausgabe;
        int exitCode;
        EchoReply::Status status;
        const char* quelle;
        int bytes, zeit, ttl;
    };
    const std::vector<Fall> faelle = {
        {"answer",
         "PING 127.0.0.1 (127.0.0.1) 56(84) bytes of data.\n"
         "64 bytes from 127.0.0.1: icmp_seq=1 ttl=64 time=0.612 ms\n\n"
         "--- 127.0.0.1 ping statistics ---\n"
         "1 packets transmitted, 1 received, 0% packet loss, time 0ms\n",
         0, EchoReply::Status::Reply, "127.0.0.1", 64, 1, 64},
        {"no answer in time",
         "PING 198.51.100.1 (198.51.100.1) 56(84) bytes of data.\n\n"
         "--- 198.51.100.1 ping statistics ---\n"
         "1 packets transmitted, 0 received, 100% packet loss, time 0ms\n",
         1, EchoReply::Status::TimeOut, "", 0, 0, 0},
        {"unreachable",
         "PING 10.0.0.9 (10.0.0.9) 56(84) bytes of data.\n"
         "From 10.0.0.1 icmp_seq=1 Destination Host Unreachable\n",
         1, EchoReply::Status::Unreachable, "10.0.0.1", 0, 0, 0},
        {"time to live exceeded",
         "PING 10.0.0.9 (10.0.0.9) 56(84) bytes of data.\n"
         "From 10.0.0.1 icmp_seq=1 Time to live exceeded\n",
         1, EchoReply::Status::TtlExceeded, "10.0.0.1", 0, 0, 0},
    };
    for (const Fall& fall : faelle) {
        SCOPED_TRACE(fall.name);
        const EchoReply r =
            IcmpEcho::parsePingOutput(QString::fromUtf8(fall.ausgabe), fall.exitCode);
        EXPECT_EQ(r.status, fall.status);
        EXPECT_EQ(r.source, QString::fromUtf8(fall.quelle));
        EXPECT_EQ(r.bytes, fall.bytes);
        EXPECT_EQ(r.timeMs, fall.zeit);
        EXPECT_EQ(r.ttl, fall.ttl);
    }
    // The program's own failure is an error, not an answer.
    EXPECT_THROW(IcmpEcho::parsePingOutput("ping: nirgendwo: Name or service not known\n", 2),
                 std::runtime_error);
}

TEST(IcmpTest, TheLoopbackAnswersEveryWayThisProcessMaySend)
{
    int versucht = 0;
    for (IcmpEcho::Method weg : {IcmpEcho::Method::DatagramSocket, IcmpEcho::Method::RawSocket,
                                 IcmpEcho::Method::PingProgram}) {
        SCOPED_TRACE(int(weg));
        if (!IcmpEcho::available(weg))
            continue;
        ++versucht;
        const EchoReply r = IcmpEcho(weg).send("127.0.0.1", 2000);
        EXPECT_EQ(r.status, EchoReply::Status::Reply);
        EXPECT_EQ(r.source, "127.0.0.1");
        EXPECT_GE(r.bytes, 8);
        EXPECT_GT(r.ttl, 0);
        EXPECT_LT(r.timeMs, 2000);
    }
    if (versucht == 0)
        GTEST_SKIP() << "Dieser Prozess darf keine Ping-Anfragen senden (net.ipv4.ping_group_range "
                        "schließt seine Gruppe aus, kein Raw-Socket, kein Programm \"ping\").";
}

TEST(IcmpTest, AnAddressThatNeverAnswersIsNoAnswer)
{
    if (!IcmpEcho::available(IcmpEcho::Method::Automatic))
        GTEST_SKIP() << "Dieser Prozess darf keine Ping-Anfragen senden.";
    // TEST-NET-2 is never routed to a machine: the request times out, or the way to it is
    // reported as unreachable.
    try {
        const EchoReply r = IcmpEcho().send("198.51.100.1", 300);
        EXPECT_NE(r.status, EchoReply::Status::Reply);
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()), "");
    }
    EXPECT_THROW(IcmpEcho().send("kein-rechner.invalid", 300), std::runtime_error);
}
