#include "link/connect_machine.h"

#include <gtest/gtest.h>

#include <vector>

#include "fake_link.h"
#include "link/connect_steps.h"

using connect::ConnectMachine;
using connect::Outcome;

namespace {

std::vector<int> Bytes(const ZemCmd::Cmd& c) {
    return std::vector<int>(c.b.begin(), c.b.begin() + c.Length());
}

FakeLink::Peer AnswerEverything() {
    return [](const ZemCmd::Cmd& r) { return std::optional<ZemCmd::Cmd>(AnswerTo(r)); };
}

// Answers everything except requests of one code, which it ignores (or answers with another code).
FakeLink::Peer Ignoring(int code, std::uint8_t replyCode = 0) {
    return [=](const ZemCmd::Cmd& r) -> std::optional<ZemCmd::Cmd> {
        if (r[2] == ZemCmd::kClassRead || r[2] == ZemCmd::kClassWrite) {
            if (r[4] == code) {
                if (replyCode) return AnswerTo(r, replyCode);
                return std::nullopt;
            }
        }
        return AnswerTo(r);
    };
}

struct Harness {
    FakeLink link;
    std::vector<std::string> statuses;
    std::vector<int> progress;
    std::vector<int> applied;  // code byte of every answer handed over
    std::function<int(const std::uint32_t*)> apply = [](const std::uint32_t*) { return 1; };
    int flushes = 0;
    ConnectMachine machine{link,
                           {[this](const std::uint32_t* w) {
                                applied.push_back(static_cast<int>(w[4]));
                                return apply(w);
                            },
                            [this](const std::string& s) { statuses.push_back(s); },
                            [this](int p) { progress.push_back(p); }, [this] { ++flushes; }}};

    // Ticks until the machine ends (or the limit); returns the outcome and counts the ticks.
    Outcome Until(int limit, int* ticks = nullptr) {
        for (int t = 1; t <= limit; ++t) {
            const Outcome o = machine.Tick();
            if (o != Outcome::Running) {
                if (ticks) *ticks = t;
                return o;
            }
        }
        return Outcome::Running;
    }
    // Ticks until `n` frames have been pushed; the tick count that took.
    int UntilPushed(std::size_t n) {
        int t = 0;
        while (link.pushed.size() < n && t < 5000) {
            machine.Tick();
            ++t;
        }
        return t;
    }
};

const std::string kExit = "\xE9\x80\x80\xE5\x87\xBA";

TEST(ConnectSteps, GoldenRequests) {
    struct Case {
        int step;
        std::vector<int> bytes;
        std::string line;
    };
    const Case cases[] = {
        {0, {0xA5, 0x09, 0xF4, 0x02, 0x80, 0, 0, 0, 0x24}, "Read Mic Vol\n"},
        {13, {0xA5, 0x09, 0xF4, 0x04, 0xC0, 2, 0, 0, 0x68}, "Read Mix Drc Sub\n"},
        {19, {0xA5, 0x09, 0xF4, 0x02, 0x81, 0, 0, 0, 0x25}, "Read Mic Eq n=0 id=0,chn=0\n"},
        {45, {0xA5, 0x09, 0xF4, 0x04, 0xC2, 0, 2, 0, 0x6A}, "Read MainOut Eq n=1 id=2,chn=0\n"},
        {50, {0xA5, 0x09, 0xF4, 0x04, 0xC2, 0, 1, 3, 0x6C}, "Read BassOut Eq n=1 id=1,chn=3\n"},
        {55, {0xA5, 0x09, 0xF4, 0x04, 0xC2, 0, 3, 2, 0x6D}, "Read MidOut Eq n=2 id=3,chn=2\n"},
        {58, {0xA5, 0x09, 0xF4, 0x04, 0xC2, 0, 3, 4, 0x6F}, "Read SurOut Eq n=2 id=3,chn=4\n"},
        {63, {0xA5, 0x09, 0xF4, 0x07, 0x99, 0, 4, 0, 0x46}, "Read Echo Eq n=4 id=4,chn=0\n"},
        {65, {0xA5, 0x09, 0xF4, 0x08, 0x91, 0, 1, 0, 0x3C}, "Read Reverb Eq n=1 id=1,chn=0\n"},
        {66, {0xA5, 0x09, 0xF1, 0xF0, 0x77, 0, 0, 0, 0x06}, "--Exit--\n"},
    };
    for (const Case& c : cases) {
        const auto r = connect::StepRequest(c.step);
        ASSERT_TRUE(r) << c.step;
        EXPECT_EQ(Bytes(r->frame), c.bytes) << c.step;
        EXPECT_EQ(r->logLine, c.line) << c.step;
    }
    for (int silent : {-1, 6, 67}) EXPECT_FALSE(connect::StepRequest(silent)) << silent;
}

TEST(ConnectScan, FindsProcessorBehindMissingAndSilentPorts) {
    Harness r;
    r.link.existing = {2, 4};  // COM2 opens but stays silent
    r.link.peers[4] = AnswerEverything();
    r.machine.Begin();
    while (r.machine.state() < ConnectMachine::kRequest) r.machine.Tick();

    EXPECT_EQ(r.link.opened, (std::vector<std::string>{"COM1", "COM2", "COM3", "COM4"}));
    EXPECT_EQ(r.link.log,
              "Open Uart=1\nOpen Fail\nOpen Uart=2\nOpen Ok\nClose Uart\nOpen Uart=3\nOpen Fail\n"
              "Open Uart=4\nOpen Ok\nStart Resv Data\n");
    // Three probes on the silent port, one on the answering one.
    ASSERT_EQ(r.link.pushed.size(), 4u);
    for (const auto& p : r.link.pushed)
        EXPECT_EQ(Bytes(p), (std::vector<int>{0xA5, 0x06, 0xF9, 0x03, 0x04, 0xAB}));
    EXPECT_TRUE(r.link.frameMode);
    EXPECT_EQ(r.statuses.back(), "Start to read...");
    EXPECT_EQ(r.statuses.front(), "Open COM1");
}

TEST(ConnectScan, NoPortGivesUpAfterCom30) {
    Harness r;
    r.machine.Begin();
    int ticks = 0;
    EXPECT_EQ(r.Until(100, &ticks), Outcome::Failed);
    ASSERT_EQ(r.link.opened.size(), 30u);
    EXPECT_EQ(r.link.opened.back(), "COM30");
    EXPECT_EQ(ticks, 31);  // 30 opens, then the failed state ends the dialog
    EXPECT_EQ(r.statuses.back(), kExit);
    EXPECT_FALSE(r.link.frameMode);
}

TEST(ConnectScan, SilentLastPortIsClosedBeforeGivingUp) {
    Harness r;
    r.link.existing = {30};
    r.machine.Begin();
    EXPECT_EQ(r.Until(200), Outcome::Failed);
    EXPECT_FALSE(r.link.IsOpen());
}

TEST(ConnectScan, AnyGoodFrameEndsTheHandshake) {
    Harness r;
    r.link.existing = {1};
    r.machine.Begin();
    r.machine.Tick();     // opens COM1
    r.link.ready = true;  // an unrelated frame arrives
    for (int i = 0; i < 4; ++i) r.machine.Tick();
    EXPECT_EQ(r.machine.state(), ConnectMachine::kRequest);
    EXPECT_TRUE(r.link.pushed.empty());
}

TEST(ConnectReadBack, AnsweringPeerReadsEveryStepAndFinishes) {
    Harness r;
    r.link.existing = {1};
    r.link.peers[1] = AnswerEverything();
    r.machine.Begin();
    EXPECT_EQ(r.Until(1000), Outcome::Finished);

    // The probe, then one request per step but the silent one, in table order.
    ASSERT_EQ(r.link.pushed.size(), 1u + 66u);
    std::size_t i = 1;
    std::string lines;
    for (int step = 0; step < connect::kStepCount; ++step) {
        const auto req = connect::StepRequest(step);
        if (!req) continue;
        EXPECT_EQ(Bytes(r.link.pushed[i++]), Bytes(req->frame)) << step;
        lines += req->logLine;
    }
    EXPECT_NE(r.link.log.find(lines), std::string::npos);
    EXPECT_EQ(r.applied.size(), 66u);
    EXPECT_EQ(r.progress.back(), 98);  // 65 x 100 / 66, never 100
    EXPECT_EQ(r.flushes, 1);
    EXPECT_EQ(r.statuses.back(), kExit);
    EXPECT_TRUE(r.link.frameMode);  // the caller leaves frame mode
}

TEST(ConnectReadBack, SilentStepAsksForTheNextOneLater) {
    Harness r;
    r.link.existing = {1};
    r.link.peers[1] = AnswerEverything();
    r.machine.Begin();
    r.UntilPushed(7);  // probe + steps 0..5
    const int ticks = r.UntilPushed(8);
    EXPECT_EQ(Bytes(r.link.pushed.back()), Bytes(connect::StepRequest(7)->frame));
    EXPECT_EQ(ticks, 5);  // answer of 5, silent 6, two ticks of the retry rhythm, send 7
}

// Ticks after the first send at which a request goes out again, and the outcome.
struct RetryCase {
    const char* name;
    int code;
    std::uint8_t replyCode;
    Outcome outcome;
};

TEST(ConnectReadBack, UnansweredRequestRetriesOnTicks3_6_9) {
    const RetryCase cases[] = {
        {"silent mic volume", 0x80, 0, Outcome::Failed},
        {"wrong code for mic volume", 0x80, 0x81, Outcome::Failed},
        {"silent reverb filter", 0x91, 0, Outcome::Failed},
        {"silent end command", 0x77, 0, Outcome::Finished},
    };
    for (const RetryCase& c : cases) {
        Harness r;
        r.link.existing = {1};
        r.link.peers[1] = Ignoring(c.code, c.replyCode);
        r.machine.Begin();
        while (r.link.pushed.empty() || r.link.pushed.back()[4] != c.code) r.machine.Tick();
        std::vector<int> sends;
        Outcome o = Outcome::Running;
        int t = 0;
        while (o == Outcome::Running && t < 50) {
            const std::size_t before = r.link.pushed.size();
            o = r.machine.Tick();
            ++t;
            if (r.link.pushed.size() > before) sends.push_back(t);
        }
        EXPECT_EQ(sends, (std::vector<int>{3, 6, 9})) << c.name;
        EXPECT_EQ(t, 11) << c.name;  // state set on tick 10, dialog ends on the next
        EXPECT_EQ(o, c.outcome) << c.name;
    }
}

TEST(ConnectReadBack, RefusedAnswerIsAskedAgainWithoutCountingRetries) {
    Harness r;
    r.link.existing = {1};
    r.link.peers[1] = AnswerEverything();
    int refusals = 5;  // more than the three retries a silent answer gets
    r.apply = [&](const std::uint32_t* w) { return (w[4] == 0x85 && refusals-- > 0) ? 0 : 1; };
    r.machine.Begin();
    EXPECT_EQ(r.Until(1000), Outcome::Finished);
    int asked = 0;
    for (const auto& p : r.link.pushed) asked += p[4] == 0x85;
    EXPECT_EQ(asked, 6);
}

TEST(ConnectReadBack, EndlessRefusalStopsTheReadBack) {
    Harness r;
    r.link.existing = {1};
    r.link.peers[1] = AnswerEverything();
    r.apply = [](const std::uint32_t* w) { return w[4] == 0x82 ? 0 : 1; };
    r.machine.Begin();
    EXPECT_EQ(r.Until(1000), Outcome::Failed);
    int asked = 0;
    for (const auto& p : r.link.pushed) asked += p[4] == 0x82;
    EXPECT_EQ(asked, ConnectMachine::kMaxRefusals);
}

TEST(ConnectReadBack, AnsweredEndCommandFinishesEvenWhenRefused) {
    Harness r;
    r.link.existing = {1};
    r.link.peers[1] = AnswerEverything();
    r.apply = [](const std::uint32_t* w) { return w[4] == ZemCmd::kGroupEndReadBack ? 0 : 1; };
    r.machine.Begin();
    EXPECT_EQ(r.Until(1000), Outcome::Finished);
    EXPECT_EQ(r.link.pushed.back()[4], ZemCmd::kGroupEndReadBack);
    int ends = 0;
    for (const auto& p : r.link.pushed) ends += p[4] == ZemCmd::kGroupEndReadBack;
    EXPECT_EQ(ends, 1);
}

}  // namespace
