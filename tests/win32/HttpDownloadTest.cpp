// The web-picture download against the local server of http_download_test.sh:
// what is stored and under which name, what is refused, and that a cancelled
// download stays silent.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "saver/ShowRules.h"
#include "saver/win32/HttpDownload.h"

using spindrel::win32::THttpDownload;

namespace {

std::string Environment(const char* Name)
{
    const char* value = std::getenv(Name);
    return value ? value : "";
}

std::string ReadWholeFile(const std::string& Path)
{
    std::ifstream in(Path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::set<std::string> NamesIn(const std::string& Folder)
{
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((Folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.insert(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

void RemoveTree(const std::string& Folder)
{
    for (const std::string& name : NamesIn(Folder)) {
        const std::string path = Folder + name;
        if (GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY)
            RemoveTree(path + "\\");
        else
            DeleteFileA(path.c_str());
    }
    RemoveDirectoryA(Folder.c_str());
}

// Runs this thread's messages until Done holds or the time is up.
void PumpUntil(const std::function<bool()>& Done, DWORD Milliseconds)
{
    const DWORD start = GetTickCount();
    while (!Done() && GetTickCount() - start < Milliseconds) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

void PumpFor(DWORD Milliseconds)
{
    PumpUntil([] { return false; }, Milliseconds);
}

struct TEvent {
    bool Done = false;
    std::string FileName;
    std::int64_t Size = 0;
    std::string Message;
    DWORD Thread = 0;
    const THttpDownload* Sender = nullptr;
};

// The slow reply of the server takes 30 s; a cancel that waits it out is broken.
constexpr DWORD CancelBound = 10000;

class HttpDownload : public testing::Test {
protected:
    void SetUp() override
    {
        Base = Environment("SPINDREL_HTTP_BASE");
        Fixtures = Environment("SPINDREL_HTTP_FIXTURES");
        ASSERT_FALSE(Base.empty()) << "SPINDREL_HTTP_BASE is not set: run tests/win32/http_download_test.sh";
        ASSERT_FALSE(Fixtures.empty()) << "SPINDREL_HTTP_FIXTURES is not set: run tests/win32/http_download_test.sh";
        char temp[MAX_PATH], unique[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        ASSERT_NE(GetTempFileNameA(temp, "sph", 0, unique), 0u);
        DeleteFileA(unique);
        Outer = std::string(unique) + "\\";
        Folder = Outer + "store\\";
        ASSERT_TRUE(CreateDirectoryA(Outer.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA(Folder.c_str(), nullptr));
        Download = std::make_unique<THttpDownload>();
        Download->FileName = Folder;
        Download->OnDoneFile = [this](THttpDownload& Sender, const std::string& FileName, std::int64_t Size) {
            Events.push_back({true, FileName, Size, {}, GetCurrentThreadId(), &Sender});
        };
        Download->OnError = [this](THttpDownload& Sender, const std::string& Message) {
            Events.push_back({false, {}, 0, Message, GetCurrentThreadId(), &Sender});
        };
    }
    void TearDown() override
    {
        Download.reset();
        if (!Outer.empty())
            RemoveTree(Outer);
    }

    void Start(const std::string& URL)
    {
        Download->URL = URL;
        Download->DownloadFile();
    }
    // Until the first event, then a while longer, so that a second one would show.
    void WaitForEvents()
    {
        PumpUntil([this] { return !Events.empty(); }, 60000);
        PumpFor(300);
    }
    std::string Fixture(const std::string& Name) { return ReadWholeFile(Fixtures + "\\" + Name); }

    std::string Base, Fixtures, Outer, Folder;
    std::unique_ptr<THttpDownload> Download;
    std::vector<TEvent> Events;
};

TEST_F(HttpDownload, StoresAPictureUnderItsContentTypeOnTheCreatingThread)
{
    struct TRow {
        const char* Path;
        const char* Fixture;
        const char* StoredAs;
    };
    // The second jpeg replaces the first: every web slide stores under the same name.
    const TRow rows[] = {
        {"photo.jpg", "photo.jpg", "image.jpeg"},
        {"badge.png", "badge.png", "image.png"},
        {"small.jpg?width=80&height=60", "small.jpg", "image.jpeg"},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Path);
        Events.clear();
        Start(Base + row.Path);
        EXPECT_TRUE(Download->Busy());
        WaitForEvents();
        ASSERT_EQ(Events.size(), 1u);
        const TEvent& event = Events.front();
        ASSERT_TRUE(event.Done) << event.Message;
        EXPECT_EQ(event.FileName, Folder + row.StoredAs);
        const std::string expected = Fixture(row.Fixture);
        ASSERT_FALSE(expected.empty());
        EXPECT_EQ(event.Size, static_cast<std::int64_t>(expected.size()));
        EXPECT_TRUE(ReadWholeFile(event.FileName) == expected) << "the stored bytes differ from the served ones";
        EXPECT_EQ(event.Thread, GetCurrentThreadId());
        EXPECT_EQ(event.Sender, Download.get());
        EXPECT_FALSE(Download->Busy());
    }
    EXPECT_EQ(NamesIn(Folder), (std::set<std::string>{"image.jpeg", "image.png"}));  // no passing file left
}

TEST_F(HttpDownload, ReportsEachFailureOnceInOneLineAndStoresNothing)
{
    struct TRow {
        std::string URL;
        const char* Reason;  // a part of the message
    };
    const TRow rows[] = {
        {Base + "page.html", "text/html"},
        {Base + "missing.jpg", "answered 404"},
        {Base + "untyped", "no content type"},
        {Base + "truncated.jpg", "broke off"},
        {Base + "huge.jpg", "larger than 64 MiB"},     // says so in its length
        {Base + "endless.jpg", "larger than 64 MiB"},  // gives no length and never ends
        {"http://127.0.0.1:1/photo.jpg", "127.0.0.1:1"},  // nothing listens there
        {"ftp://127.0.0.1/photo.jpg", "not an http address"},
        {"", "not a web address"},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.URL);
        Events.clear();
        for (const std::string& name : NamesIn(Folder))  // what an earlier row left must not fail this one
            DeleteFileA((Folder + name).c_str());
        Start(row.URL);
        WaitForEvents();
        ASSERT_EQ(Events.size(), 1u);
        const TEvent& event = Events.front();
        EXPECT_FALSE(event.Done) << event.FileName;
        EXPECT_NE(event.Message.find(row.Reason), std::string::npos) << event.Message;
        EXPECT_EQ(event.Message.find_first_of("\r\n"), std::string::npos) << event.Message;
        EXPECT_EQ(event.Thread, GetCurrentThreadId());
        EXPECT_FALSE(Download->Busy());
        EXPECT_TRUE(NamesIn(Folder).empty()) << "a failed download left a file";
    }
}

TEST_F(HttpDownload, AHostileContentTypeCannotNameAPathOutsideTheFolder)
{
    const std::string hostileType = "image/../../evil";  // what the server's reply says
    Start(Base + "hostile");
    WaitForEvents();
    ASSERT_EQ(Events.size(), 1u);
    const TEvent& event = Events.front();
    ASSERT_TRUE(event.Done) << event.Message;
    EXPECT_EQ(event.FileName, Folder + spindrel::DownloadFileName(hostileType).value());
    EXPECT_EQ(NamesIn(Folder).size(), 1u);
    EXPECT_EQ(NamesIn(Outer), std::set<std::string>{"store"});
    EXPECT_EQ(event.Size, static_cast<std::int64_t>(ReadWholeFile(event.FileName).size()));
    EXPECT_GT(event.Size, 0);
}

TEST_F(HttpDownload, ASecondDownloadCancelsTheFirstSilently)
{
    Start(Base + "slow.jpg");
    PumpFor(500);  // the slow reply is under way
    const DWORD before = GetTickCount();
    Start(Base + "photo.jpg");
    EXPECT_LT(GetTickCount() - before, CancelBound) << "the cancel waited for the slow reply";
    WaitForEvents();
    PumpFor(700);
    ASSERT_EQ(Events.size(), 1u);
    ASSERT_TRUE(Events.front().Done) << Events.front().Message;
    EXPECT_TRUE(ReadWholeFile(Events.front().FileName) == Fixture("photo.jpg"));
    EXPECT_EQ(NamesIn(Folder), std::set<std::string>{"image.jpeg"});
}

TEST_F(HttpDownload, DestroyingItDuringADownloadDeliversNothing)
{
    Start(Base + "slow.jpg");
    PumpFor(500);
    const DWORD before = GetTickCount();
    Download.reset();
    EXPECT_LT(GetTickCount() - before, CancelBound) << "the destructor waited for the slow reply";
    PumpFor(700);
    EXPECT_TRUE(Events.empty());
    EXPECT_TRUE(NamesIn(Folder).empty()) << "the cancelled download left a file";
}

}  // namespace
