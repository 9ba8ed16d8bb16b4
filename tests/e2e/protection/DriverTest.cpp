// The protection driver's requests through both device paths at once, as its state request reports them.
#include "../agent_shared/AgentTest.h"
#include <functional>
const DWORD Untouched = 0x77777777;
std::string Word(DWORD value) { return std::string(reinterpret_cast<const char*>(&value), 4); }
void SetField(std::string& image, size_t offset, size_t value) { image.replace(offset, 4, Word(DWORD(value))); }
std::string Image(const std::vector<std::string>& files, const std::vector<std::string>& folders) {
    std::string image(VTLOCK_IMAGE_HEADER_SIZE, '\0');
    for (const auto* section : {&files, &folders}) {
        for (const std::string& s : *section) image += s + '\0';
        image += '\0';
    }
    const size_t fields[][2] = {{VTLOCK_IMAGE_OFF_MARK, VTLOCK_IMAGE_MARK}, {VTLOCK_IMAGE_OFF_LENGTH, image.size()},
        {VTLOCK_IMAGE_OFF_FILES, VTLOCK_IMAGE_HEADER_SIZE}, {VTLOCK_IMAGE_OFF_NFILES, files.size()},
        {VTLOCK_IMAGE_OFF_NFOLDERS, folders.size()}};
    for (const auto& f : fields) SetField(image, f[0], f[1]);
    return image;
}
struct Reply { DWORD error = 0, returned = 0, out = Untouched; };  // error 0: accepted
Reply Send(HANDLE device, DWORD code, const std::string& in, DWORD outSize) {
    Reply r;
    if (!DeviceIoControl(device, code, in.empty() ? nullptr : const_cast<char*>(in.data()), DWORD(in.size()),
                         outSize ? &r.out : nullptr, outSize, &r.returned, nullptr))
        r.error = GetLastError();
    return r;
}
VTLOCK_STATE Query(HANDLE device) {
    VTLOCK_STATE s = {};
    DWORD got = 0;
    EXPECT_TRUE(DeviceIoControl(device, VTLOCK_CTL_QUERY_STATE, nullptr, 0, &s, sizeof s, &got, nullptr) &&
                got == sizeof s);
    return s;
}
// What the driver holds, all but the count of state requests.
std::string Held(VTLOCK_STATE s) {
    s.StateRequests = 0;
    return std::string(reinterpret_cast<char*>(&s), sizeof s);
}
TEST(Driver, RequestsAreCheckedKeptAndCounted) {
    agenttest::AgentBed installed;
    agenttest::ServiceConfig("VTLOCK", true);
    auto open = [](const char* path) { return CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                                          OPEN_EXISTING, 0, nullptr); };
    EXPECT_EQ(open(VTLOCK_PATH_NT5), INVALID_HANDLE_VALUE) << "the stopped driver's device is gone";
    ASSERT_TRUE(StartNamedService("VTLOCK")) << "its link was not removed at the stop";
    HANDLE agent = open(VTLOCK_PATH_NT4), tool = open(VTLOCK_PATH_NT5);
    ASSERT_TRUE(agent != INVALID_HANDLE_VALUE && tool != INVALID_HANDLE_VALUE) << "both paths, two handles at once";
    EXPECT_EQ(Query(agent).StateRequests, 1u) << "a started driver begins afresh";
    // Every access code, and 8-bit text.
    const std::string rules = Image({"-read.me", "&.exe", "+\xE9t\xE9.txt"},
                                    {"!C:\\Hidden", "@C:\\Program Files", "#C:\\PROGRA~1", "&C:\\Caf\xE9"});
    const std::string empty = Image({}, {});
    const DWORD S = sizeof(VTLOCK_STATE), N = DWORD(rules.size()), U = Untouched;
    const DWORD Start = VTLOCK_CTL_START, Stop = VTLOCK_CTL_STOP, Mask = VTLOCK_CTL_SET_DRIVE_MASK,
                Load = VTLOCK_CTL_LOAD_PROFILE, Invalid = ERROR_INVALID_PARAMETER, Short = ERROR_INSUFFICIENT_BUFFER;
    // held: size, started, mask, image bytes, files, folders, loads, refused, stops, starts, masks, 0, opens refused.
    // The mask's output buffer (METHOD_IN_DIRECT) is input only: it stays untouched.
    const struct { const char* name; DWORD code; std::string in; DWORD outSize, error, out; VTLOCK_STATE held; }
        steps[] = {
        {"unknown code", 21, "", 0, ERROR_INVALID_FUNCTION, U, {S, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"start with no image", Start, "", 0, 0, U, {S, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0}},
        {"stop", Stop, "", 0, 0, U, {S, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0}},
        {"mask of every bit", Mask, Word(~0u), 4, 0, U, {S, 0, 0x3FFFFFF, 0, 0, 0, 0, 0, 1, 1, 1, 0, 0}},
        {"bits above Z:", Mask, Word(0xC000008), 4, 0, U, {S, 0, 8, 0, 0, 0, 0, 0, 1, 1, 2, 0, 0}},
        {"2-byte mask", Mask, Word(4).substr(0, 2), 4, Invalid, U, {S, 0, 8, 0, 0, 0, 0, 0, 1, 1, 3, 0, 0}},
        {"mask without output", Mask, Word(12), 0, 0, U, {S, 0, 12, 0, 0, 0, 0, 0, 1, 1, 4, 0, 0}},
        {"image", Load, rules, 4, 0, 7, {S, 0, 12, N, 3, 4, 1, 0, 1, 1, 4, 0, 0}},
        {"image without room for the count", Load, empty, 2, Short, U, {S, 0, 12, N, 3, 4, 2, 1, 1, 1, 4, 0, 0}},
        {"empty image", Load, empty, 4, 0, 0, {S, 0, 12, 22, 0, 0, 3, 1, 1, 1, 4, 0, 0}},
        {"start with the image", Start, "", 0, 0, U, {S, 1, 12, 22, 0, 0, 3, 1, 1, 2, 4, 0, 0}},
        {"state into 4 bytes", VTLOCK_CTL_QUERY_STATE, "", 4, Short, U, {S, 1, 12, 22, 0, 0, 3, 1, 1, 2, 4, 0, 0}},
    };
    for (size_t i = 0; i < sizeof steps / sizeof steps[0]; ++i) {
        const auto& s = steps[i];
        Reply r = Send(i % 2 ? agent : tool, s.code, s.in, s.outSize);
        EXPECT_EQ(std::to_string(r.error) + " " + std::to_string(r.out) + " " + std::to_string(r.returned),
                  std::to_string(s.error) + " " + std::to_string(s.out) + " " +
                      (s.error || !s.outSize || s.code == Mask ? "0" : "4"))
            << s.name << ": error, output, bytes returned";
        EXPECT_EQ(Held(Query(i % 2 ? tool : agent)), Held(s.held)) << s.name;
    }
    // Every state request counts, the refused one too: the first, one a step, the refused one, this one.
    EXPECT_EQ(Query(agent).StateRequests, 1 + sizeof steps / sizeof steps[0] + 1 + 1);
    // A standard user's tool is shut out: under Wine, which neither enforces the device's DACL nor fails an
    // open that the driver refuses, at its request. The administrator's tool prints the same, its own request
    // and the user's refused open counted.
    const std::string vtstate = QuoteArgument(BinDir() + "vtstate.exe");
    ProcessResult user = RunCaptured(vtstate, 30000, StandardUserToken());
    EXPECT_EQ(std::to_string(user.exitCode) + " " + user.output + user.errors,
              "1 vtstate: the driver did not answer (error 5)\r\n");
    EXPECT_EQ(RunCaptured(vtstate).output,
              "Vantrel protection driver\r\n  protecting       : yes\r\n  protected drives : C: D: (mask 0x0000000C)\r\n"
              "  profile image    : 22 bytes, 0 file strings, 0 folder strings\r\n"
              "  requests         : 3 load (1 refused), 1 stop, 2 start, 4 mask, 16 state\r\n"
              "  opens refused    : 1\r\n");
    // Malformed images: the user-mode check's verdict, and the driver refuses them and keeps its image.
    const size_t Length = VTLOCK_IMAGE_OFF_LENGTH, FilesAt = VTLOCK_IMAGE_OFF_FILES, Files = VTLOCK_IMAGE_OFF_NFILES,
                 Folders = VTLOCK_IMAGE_OFF_NFOLDERS;
    auto cut = [=](std::string& i, size_t n) { i.resize(i.size() - n); SetField(i, Length, i.size()); };
    const struct { const char* name; int verdict; std::function<void(std::string&)> spoil; } cases[] = {
        {"shorter than the header", VTLOCK_IMAGE_SHORT, [](std::string& i) { i.resize(19); }},
        {"wrong mark", VTLOCK_IMAGE_BAD_MARK, [](std::string& i) { SetField(i, VTLOCK_IMAGE_OFF_MARK, 0x102); }},
        {"length one more", VTLOCK_IMAGE_BAD_LENGTH, [=](std::string& i) { SetField(i, Length, i.size() + 1); }},
        {"file section at 24", VTLOCK_IMAGE_BAD_FILE_OFFSET, [=](std::string& i) { SetField(i, FilesAt, 24); }},
        {"no folder terminator", VTLOCK_IMAGE_NO_TERMINATOR, [&](std::string& i) { cut(i, 1); }},
        {"file without access code", VTLOCK_IMAGE_BAD_ACCESS, [](std::string& i) { i[20] = '*'; }},
        {"folder without access code", VTLOCK_IMAGE_BAD_ACCESS, [](std::string& i) { i[45] = 'C'; }},
        {"one file too many", VTLOCK_IMAGE_BAD_COUNT, [=](std::string& i) { SetField(i, Files, 4); }},
        {"one folder too few", VTLOCK_IMAGE_BAD_COUNT, [=](std::string& i) { SetField(i, Folders, 3); }},
        {"bytes after the folders", VTLOCK_IMAGE_TRAILING, [&](std::string& i) { i += "+XY"; cut(i, 1); }},
    };
    for (const auto& c : cases) {
        std::string image = rules;
        c.spoil(image);
        EXPECT_EQ(VtLockCheckImage(reinterpret_cast<const unsigned char*>(image.data()), DWORD(image.size()), nullptr),
                  c.verdict) << c.name;
        VTLOCK_STATE expected = Query(tool);
        ++expected.LoadRequests, ++expected.LoadRefused;
        Reply r = Send(agent, Load, image, 4);
        EXPECT_TRUE(r.error == Invalid && r.out == Untouched) << c.name;
        EXPECT_EQ(Held(Query(tool)), Held(expected)) << c.name;
    }
    CloseHandle(agent);
    CloseHandle(tool);
}
