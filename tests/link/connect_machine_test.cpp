#include "link/connect_machine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>

#include "link/connect_steps.h"
#include "tests/link/bytes.h"

using connect::ConnectMachine;
using connect::Outcome;
using testbytes::FromHex;
using testbytes::Of;

namespace {

// An answer echoing the request's group, its code (or `code`) and its three selector bytes, so
// that every step's answer is told apart from the others.
ZemCmd::Cmd AnswerTo(const ZemCmd::Cmd& r, std::uint8_t code = 0) {
    return testbytes::ToCmd(
        testbytes::Sealed({0xA5, 0x09, 0xF6, r[3], code ? code : r[4], r[5], r[6], r[7]}));
}

// A scripted link: ports that open or not, a peer answering a pushed frame (or not), at once or
// `lateTicks` later: such an answer lands after the check of the tick before.
class FakeLink : public connect::ConnectLink {
  public:
    using Peer = std::function<std::optional<ZemCmd::Cmd>(const ZemCmd::Cmd& request)>;
    std::set<int> existing;
    std::map<int, Peer> peers;  // none behind a port: silent
    std::vector<std::string> opened;
    std::vector<ZemCmd::Cmd> pushed;
    std::string log;
    int openPort = 0;
    bool frameMode = false, ready = false;
    ZemCmd::Cmd last;
    int lateTicks = 0;
    int now = 0;                                        // ticks so far
    std::vector<std::pair<int, ZemCmd::Cmd>> inFlight;  // due tick, answer

    void Land(const ZemCmd::Cmd& answer) { last = answer, ready = true; }
    // Lands the answers due by this tick, before the machine looks.
    void Advance() {
        ++now;
        while (!inFlight.empty() && inFlight.front().first <= now) {
            Land(inFlight.front().second);
            inFlight.erase(inFlight.begin());
        }
    }

    bool IsOpen() const override { return openPort != 0; }
    bool Open(const std::string& name) override {
        opened.push_back(name);
        const int n = std::stoi(name.substr(3));
        return !openPort && existing.count(n) && (openPort = n);
    }
    void Start() override {}
    void Close() override { openPort = 0; }
    void SetFrameMode(bool on) override { frameMode = on; }
    bool FrameReady() const override { return ready; }
    void ClearFrameReady() override { ready = false; }
    void CopyFrame(std::uint32_t (&words)[ZemCmd::kMaxFrame]) const override {
        for (int i = 0; i < ZemCmd::kMaxFrame; ++i) words[i] = last[static_cast<std::size_t>(i)];
    }
    void Push(const ZemCmd::Cmd& cmd) override {
        pushed.push_back(cmd);
        if (auto it = peers.find(openPort); it != peers.end())
            if (auto answer = it->second(cmd)) {
                if (lateTicks == 0)
                    Land(*answer);
                else
                    inFlight.emplace_back(now + lateTicks, *answer);
            }
    }
    void Log(std::string_view line) override { log += line; }
};

// Answers every request but those of `code`, which it ignores (or answers with `replyCode`).
FakeLink::Peer Ignoring(int code = -1, std::uint8_t replyCode = 0) {
    return [=](const ZemCmd::Cmd& r) -> std::optional<ZemCmd::Cmd> {
        const bool request = r[2] == ZemCmd::kClassRead || r[2] == ZemCmd::kClassWrite;
        if (!request || r[4] != code || replyCode)
            return AnswerTo(r, request && r[4] == code ? replyCode : 0);
        return std::nullopt;
    };
}

struct Harness {
    explicit Harness(std::set<int> ports = {1}, FakeLink::Peer peer = Ignoring()) {
        link.existing = ports;
        if (peer) link.peers[1] = peer;
        machine.Begin();
    }
    FakeLink link;
    std::vector<std::string> statuses;
    std::vector<int> progress;
    int applied = 0, flushes = 0;
    std::function<int(const std::uint32_t*)> apply = [](const std::uint32_t*) { return 1; };
    ConnectMachine machine{link,
                           {[this](const std::uint32_t* w) { return ++applied, apply(w); },
                            [this](const std::string& s) { statuses.push_back(s); },
                            [this](int p) { progress.push_back(p); }, [this] { ++flushes; }}};

    Outcome Tick() {
        link.Advance();
        return machine.Tick();
    }
    // Ticks until the machine ends or `limit` ticks; the outcome and the ticks taken.
    Outcome Until(int limit, int* ticks = nullptr) {
        Outcome o = Outcome::Running;
        for (int t = 1; t <= limit && o == Outcome::Running; ++t)
            if ((o = Tick()) != Outcome::Running && ticks) *ticks = t;
        return o;
    }
};

const std::string kExit = "\xE9\x80\x80\xE5\x87\xBA";

TEST(ConnectSteps, GoldenRequests) {
    // clang-format off
    const std::tuple<int, const char*, const char*> cases[] = {
        {0, "A5 09 F4 02 80 00 00 00 24", "Read Mic Vol\n"},
        {13, "A5 09 F4 04 C0 02 00 00 68", "Read Mix Drc Sub\n"},
        {19, "A5 09 F4 02 81 00 00 00 25", "Read Mic Eq n=0 id=0,chn=0\n"},
        {45, "A5 09 F4 04 C2 00 02 00 6A", "Read MainOut Eq n=1 id=2,chn=0\n"},
        {50, "A5 09 F4 04 C2 00 01 03 6C", "Read BassOut Eq n=1 id=1,chn=3\n"},
        {55, "A5 09 F4 04 C2 00 03 02 6D", "Read MidOut Eq n=2 id=3,chn=2\n"},
        {58, "A5 09 F4 04 C2 00 03 04 6F", "Read SurOut Eq n=2 id=3,chn=4\n"},
        {63, "A5 09 F4 07 99 00 04 00 46", "Read Echo Eq n=4 id=4,chn=0\n"},
        {65, "A5 09 F4 08 91 00 01 00 3C", "Read Reverb Eq n=1 id=1,chn=0\n"},
        {66, "A5 09 F1 F0 77 00 00 00 06", "--Exit--\n"}};
    // clang-format on
    for (const auto& [step, hex, line] : cases) {
        const auto r = connect::StepRequest(step);
        ASSERT_TRUE(r) << step;
        EXPECT_EQ(Of(r->frame), FromHex(hex)) << "request frame of step " << step;
        EXPECT_EQ(r->logLine, line) << "log line of step " << step;
    }
    for (int silent : {-1, 6, 67}) EXPECT_FALSE(connect::StepRequest(silent)) << silent;
}

TEST(ConnectScan, FindsProcessorBehindMissingAndSilentPorts) {
    Harness r({2, 4}, nullptr);  // COM2 opens but stays silent
    r.link.peers[4] = Ignoring();
    while (r.machine.state() < ConnectMachine::kRequest) r.Tick();
    EXPECT_EQ(r.link.opened, (std::vector<std::string>{"COM1", "COM2", "COM3", "COM4"}));
    EXPECT_EQ(r.link.log,
              "Open Uart=1\nOpen Fail\nOpen Uart=2\nOpen Ok\nClose Uart\nOpen Uart=3\nOpen Fail\n"
              "Open Uart=4\nOpen Ok\nStart Resv Data\n");
    ASSERT_EQ(r.link.pushed.size(), 4u);  // three probes on the silent port, one on the answering one
    for (const auto& p : r.link.pushed) EXPECT_EQ(Of(p), FromHex("A5 06 F9 03 04 AB"));
    EXPECT_TRUE(r.link.frameMode) << "the link must be left in frame mode for the read-back";
    EXPECT_EQ(r.statuses.front(), "Open COM1") << "first status";
    EXPECT_EQ(r.statuses.back(), "Start to read...") << "status once the processor answered";
}

TEST(ConnectScan, TriesCom1ToCom30ExactlyThenFails) {
    std::set<int> upTo31;
    for (int n = 1; n <= 31; ++n) upTo31.insert(n);
    // no port at all; only COM30, silent; 31 silent ports (a 31st mapped path is never opened)
    for (const std::set<int>& ports : {std::set<int>{}, std::set<int>{30}, upTo31}) {
        SCOPED_TRACE(ports.size());
        Harness r(ports, nullptr);
        r.link.peers.clear();
        EXPECT_EQ(r.Until(5000), Outcome::Failed);
        std::vector<std::string> com1To30;
        for (int n = 1; n <= 30; ++n) com1To30.push_back("COM" + std::to_string(n));
        EXPECT_EQ(r.link.opened, com1To30);
        EXPECT_EQ(r.link.log.find("Open Uart=31"), std::string::npos) << r.link.log;
        EXPECT_EQ(r.statuses.back(), kExit);
        EXPECT_FALSE(r.link.IsOpen()) << "a silent last port stays open";
        EXPECT_FALSE(r.link.frameMode);
    }
}

TEST(ConnectScan, AnyGoodFrameEndsTheHandshake) {
    Harness r({1}, nullptr);
    r.Tick();             // opens COM1
    r.link.ready = true;  // an unrelated frame arrives
    for (int i = 0; i < 4; ++i) r.Tick();
    EXPECT_EQ(r.machine.state(), ConnectMachine::kRequest) << "the frame must end the handshake";
    EXPECT_EQ(r.link.pushed.size(), 0u) << "no probe is sent once a frame arrived";
}

TEST(ConnectReadBack, AnsweringPeerReadsEveryStepAndFinishes) {
    Harness r;
    EXPECT_EQ(r.Until(1000), Outcome::Finished);
    ASSERT_EQ(r.link.pushed.size(), 1u + 66u);  // the probe, then every step but the silent one, in order
    std::size_t i = 1;
    std::string lines;
    for (int step = 0; step < connect::kStepCount; ++step)
        if (const auto req = connect::StepRequest(step)) {
            EXPECT_EQ(Of(r.link.pushed[i++]), Of(req->frame)) << step;
            lines += req->logLine;
        }
    EXPECT_NE(r.link.log.find(lines), std::string::npos);
    // 98: 65 x 100 / 66, never 100; the caller leaves frame mode
    EXPECT_EQ(r.applied, 66) << "answers applied";
    EXPECT_EQ(r.progress.back(), 98) << "last progress";
    EXPECT_EQ(r.flushes, 1) << "pages flushed once at the end";
    EXPECT_EQ(r.statuses.back(), kExit) << "last status";
    EXPECT_TRUE(r.link.frameMode) << "frame mode is left to the caller";

    Harness later;  // after the probe and steps 0..5: answer of 5, silent 6, two retry-rhythm ticks, send 7
    while (later.link.pushed.size() < 7) later.Tick();
    int ticks = 0;
    for (; later.link.pushed.size() < 8 && ticks < 50; ++ticks) later.Tick();
    EXPECT_EQ(Of(later.link.pushed.back()), Of(connect::StepRequest(7)->frame))
        << "step 7 follows the silent step 6";
    EXPECT_EQ(ticks, 5) << "ticks from the request of step 5 to that of step 7";
}

TEST(ConnectReadBack, UnansweredRequestRetriesOnTicks3_6_9) {
    // clang-format off
    const std::tuple<const char*, int, std::uint8_t, Outcome> cases[] = {
        {"silent mic volume", 0x80, 0, Outcome::Failed}, {"wrong code for mic volume", 0x80, 0x81, Outcome::Failed},
        {"silent reverb filter", 0x91, 0, Outcome::Failed}, {"silent end command", 0x77, 0, Outcome::Finished},
        {"silent effect block, after the silent step", 0x90, 0, Outcome::Failed}};
    // clang-format on
    for (const auto& [name, code, replyCode, outcome] : cases) {
        SCOPED_TRACE(name);
        Harness r({1}, Ignoring(code, replyCode));
        while (r.link.pushed.empty() || r.link.pushed.back()[4] != code) r.Tick();
        std::vector<int> sends;
        Outcome o = Outcome::Running;
        int t = 0;
        for (std::size_t before = r.link.pushed.size(); o == Outcome::Running && t < 50;
             before = r.link.pushed.size())
            if (o = r.Tick(), ++t; r.link.pushed.size() > before) sends.push_back(t);
        // state set on tick 10, dialog ends on the next
        EXPECT_EQ(sends, (std::vector<int>{3, 6, 9})) << "ticks of the resends";
        EXPECT_EQ(t, 11) << "ticks until the dialog ends";
        EXPECT_EQ(o, outcome);
    }
}

TEST(ConnectReadBack, RefusedAnswersAreAskedAgainWithoutCountingRetries) {
    struct Case {
        const char* name;
        int code;
        int refusals;  // of its answers
        Outcome outcome;
        long asked;  // times the request is sent
    };
    const Case cases[] = {
        {"5 refusals: more than the three retries of silence", 0x85, 5, Outcome::Finished, 6},
        {"refused for ever", 0x82, 1000, Outcome::Failed, ConnectMachine::kMaxRefusals},
        {"the end command is answered whatever it says", ZemCmd::kGroupEndReadBack, 1000, Outcome::Finished,
         1}};
    for (const auto& [name, code, refusals, outcome, asked] : cases) {
        SCOPED_TRACE(name);
        Harness r;
        int left = refusals;
        r.apply = [&, code = code](const std::uint32_t* w) {
            return (static_cast<int>(w[4]) == code && left-- > 0) ? 0 : 1;
        };
        const Outcome o = r.Until(1000);
        EXPECT_EQ(o, outcome);
        EXPECT_EQ(std::count_if(r.link.pushed.begin(), r.link.pushed.end(),
                                [code = code](auto& p) { return p[4] == code; }),
                  asked)
            << "times code " << code << " was asked";
    }
}

// Answers that land 1 to 10 ticks after their request: before or after the check of a tick, on
// the very tick a resend is due, or between the resends. Every step is read once, in order, and its
// own answer is the one applied: a second answer to a resent request is never taken for the next
// step's (same code, another band).
TEST(ConnectReadBack, LateAnswersAreTakenAndRepeatsPassedOver) {
    for (int late : {1, 2, 3, 4, 5, 6, 9, 10}) {
        SCOPED_TRACE(late);
        Harness r;
        r.link.lateTicks = late;
        std::vector<testbytes::Bytes> applied;
        r.apply = [&](const std::uint32_t* w) {
            applied.push_back({static_cast<std::uint8_t>(w[3]), static_cast<std::uint8_t>(w[4]),
                               static_cast<std::uint8_t>(w[5]), static_cast<std::uint8_t>(w[6]),
                               static_cast<std::uint8_t>(w[7])});
            return 1;
        };
        EXPECT_EQ(r.Until(20000), Outcome::Finished);
        std::vector<testbytes::Bytes> asked;
        for (int step = 0; step < connect::kStepCount; ++step)
            if (const auto req = connect::StepRequest(step))
                asked.push_back({req->frame[3], req->frame[4], req->frame[5], req->frame[6], req->frame[7]});
        ASSERT_EQ(applied.size(), asked.size());
        for (std::size_t i = 0; i < asked.size(); ++i)
            EXPECT_EQ(testbytes::Hex(applied[i]), testbytes::Hex(asked[i])) << "answer " << i;
    }
}

TEST(ConnectReadBack, AnswerLandingJustBeforeAResendIsTakenThere) {
    Harness r;
    r.link.lateTicks = 3;  // lands after the check of tick 2, before the resend of tick 3
    while (r.link.pushed.size() < 2) r.Tick();  // the probe and the first request
    const std::size_t sent = r.link.pushed.size();
    int ticks = 0;
    while (r.applied == 0 && ticks < 10) r.Tick(), ++ticks;
    EXPECT_EQ(ticks, 3) << "the answer was taken on tick " << ticks;
    EXPECT_EQ(r.link.pushed.size(), sent) << "the request went out again though its answer was in";
    EXPECT_EQ(r.machine.step(), 1);
    EXPECT_EQ(r.machine.tries(), 0);
}

TEST(ConnectReadBack, OnlyANewRequestClearsTheFrameReadyFlag) {
    Harness r({1}, Ignoring(0x80));  // step 0 unanswered
    while (r.link.pushed.size() < 2) r.Tick();
    r.link.Land(AnswerTo(connect::StepRequest(1)->frame));
    // another code: no answer for step 0, but the resends must leave it where it is
    for (int t = 0; t < 6; ++t) r.Tick();
    EXPECT_EQ(r.link.pushed.size(), 4u);  // the probe, the request and two resends
    EXPECT_TRUE(r.link.ready) << "a resend threw away a received frame";
    EXPECT_EQ(r.applied, 0);
}

}  // namespace
