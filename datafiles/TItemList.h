// The slide and music lists of a settings file: owned item records, in order.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace spindrel {

// Item kinds (TItemRecord::Kind).
enum : std::uint8_t {
    KindPicture = 1,
    KindFlash = 2,
    KindVideo = 3,
    KindRealMedia = 4,
    KindAudio = 5,
};

// Item locations (TItemRecord::Location); 0 and above is a position in the media archive.
enum : std::int32_t {
    LocationDisk = -1,        // Path is a path on disk
    LocationProgramDir = -2,  // Path names a file in the program's directory
    LocationWeb = -5,         // Path is a web address
};

struct TItemRecord {
    std::string Name;  // the slide's caption
    std::string Path;  // member file name, path, program-directory file or web address (see Location)
    std::string Ext;   // extension with its dot; not read by the saver
    std::uint8_t Kind = 0;
    std::int32_t Location = 0;
    std::int32_t Size = 0;   // byte size of an archive member
    std::int32_t Width = 0;  // stored size of the medium (Flash items)
    std::int32_t Height = 0;
    std::int32_t Reserved = 0;  // opaque, kept on rewrite

    bool InArchive() const { return Location >= 0; }
    friend bool operator==(const TItemRecord&, const TItemRecord&) = default;
};

class TItemList {
public:
    TItemList() = default;
    TItemList(const TItemList&) = delete;
    TItemList& operator=(const TItemList&) = delete;

    // Appends a record with empty strings and zero numbers for the caller to fill in.
    TItemRecord& Add();
    void Clear() { FItems.clear(); }
    std::int32_t Count() const { return static_cast<std::int32_t>(FItems.size()); }
    // Copies entry Index into Item; leaves Item unchanged when Index is out of range.
    void Get(std::int32_t Index, TItemRecord& Item) const;
    // Entry Index, which must be in range.
    const TItemRecord& operator[](std::int32_t Index) const { return *FItems[static_cast<std::size_t>(Index)]; }

    bool HasPictures() const { return HasKind(KindPicture); }
    bool HasFlash() const { return HasKind(KindFlash); }
    bool HasMovies() const { return HasKind(KindVideo) || HasKind(KindRealMedia); }  // one player serves both
    bool HasRealMedia() const { return HasKind(KindRealMedia); }

    std::function<void(TItemList& Sender)> OnChange;

private:
    bool HasKind(std::uint8_t Kind) const;

    std::vector<std::unique_ptr<TItemRecord>> FItems;  // boxed: Add's reference outlives later Adds
};

}  // namespace spindrel
