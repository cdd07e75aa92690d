#include "platform/posix/user32/icons.h"
#include "platform/posix/kernel32/program_resources.h"

#include "platform/posix/testing/driver_hooks.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <span>
#include <utility>

namespace {

// Index: 1. handle table  2. reading icon resources  3. stock pictures  4. the API

// ---------------------------------------------------------------------------------------
// 1. Handle table
// ---------------------------------------------------------------------------------------

struct IconRecord {
    posix::IconPicture Picture;
    bool Shared; // loaded by LoadIconA or LoadCursorA: lives as long as the process
};

struct IconTable {
    std::map<std::uintptr_t, IconRecord> Icons;
    std::map<std::pair<bool, WORD>, HICON> Stock; // (is cursor, stock id) -> shared handle
    std::map<HRSRC, HICON> ProgramIcons;          // icon group -> shared handle
    HCURSOR Cursor = nullptr;                     // the cursor shown now
    bool CursorSet = false;                       // Cursor was chosen (else: the arrow)
    std::uintptr_t NextHandle = 0x100010;         // never reused
};

IconTable& Table() {
    static IconTable table;
    return table;
}

HICON Add(posix::IconPicture picture, bool shared) {
    IconTable& table = Table();
    const std::uintptr_t handle = table.NextHandle;
    table.NextHandle += 4;
    table.Icons.emplace(handle, IconRecord{std::move(picture), shared});
    return reinterpret_cast<HICON>(handle);
}

IconRecord* Find(HICON icon) {
    auto found = Table().Icons.find(reinterpret_cast<std::uintptr_t>(icon));
    if (found == Table().Icons.end()) {
        SetLastError(ERROR_INVALID_CURSOR_HANDLE);
        return nullptr;
    }
    return &found->second;
}

// ---------------------------------------------------------------------------------------
// 2. Reading icon resources: a group directory and 32-bit BGRA images with an AND mask.
// ---------------------------------------------------------------------------------------

class Bytes {
public:
    explicit Bytes(std::span<const BYTE> data) : data(data) {}

    bool Has(std::size_t offset, std::size_t length) const {
        return offset <= data.size() && length <= data.size() - offset;
    }
    WORD Word(std::size_t at) const { return WORD(data[at] | (data[at + 1] << 8)); }
    DWORD Dword(std::size_t at) const { return DWORD(Word(at)) | (DWORD(Word(at + 2)) << 16); }
    BYTE Byte(std::size_t at) const { return data[at]; }

private:
    std::span<const BYTE> data;
};

std::span<const BYTE> ResourceBytes(HMODULE module, HRSRC resource) {
    const HGLOBAL loaded = LoadResource(module, resource);
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data == nullptr) {
        return {};
    }
    return {static_cast<const BYTE*>(data), SizeofResource(module, resource)};
}

// The id of the group's image whose width is closest to the system icon size.
std::optional<WORD> ChooseImage(std::span<const BYTE> group) {
    constexpr std::size_t directorySize = 6;
    constexpr std::size_t entrySize = 14;
    const Bytes bytes(group);
    if (!bytes.Has(0, directorySize) || bytes.Word(2) != 1) {
        return std::nullopt;
    }
    const std::size_t count = bytes.Word(4);
    if (count == 0 || !bytes.Has(directorySize, count * entrySize)) {
        return std::nullopt;
    }
    const int wanted = GetSystemMetrics(SM_CXICON);
    std::optional<WORD> best;
    int bestDistance = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = directorySize + i * entrySize;
        const int width = bytes.Byte(entry) == 0 ? 256 : bytes.Byte(entry);
        const int distance = std::abs(width - wanted);
        if (!best || distance < bestDistance) {
            best = bytes.Word(entry + 12);
            bestDistance = distance;
        }
    }
    return best;
}

bool MaskBitSet(const Bytes& bytes, std::size_t maskStart, std::size_t stride, std::size_t row,
                std::size_t column) {
    return (bytes.Byte(maskStart + row * stride + column / 8) & (0x80 >> (column % 8))) != 0;
}

// An uncompressed 32-bit image; when no pixel carries alpha, the AND mask gives transparency.
std::optional<posix::IconPicture> DecodeImage(std::span<const BYTE> image) {
    constexpr std::size_t headerSize = 40;
    const Bytes bytes(image);
    if (!bytes.Has(0, headerSize)) {
        return std::nullopt;
    }
    const DWORD infoSize = bytes.Dword(0);
    const DWORD width = bytes.Dword(4);
    const DWORD doubledHeight = bytes.Dword(8);
    if (infoSize < headerSize || width == 0 || width > 256 || doubledHeight == 0 ||
        doubledHeight > 512 || doubledHeight % 2 != 0 || bytes.Word(14) != 32 ||
        bytes.Dword(16) != 0) {
        return std::nullopt;
    }
    const std::size_t height = doubledHeight / 2;
    const std::size_t colourSize = std::size_t{width} * height * 4;
    const std::size_t maskStride = (std::size_t{width} + 31) / 32 * 4;
    if (!bytes.Has(infoSize, colourSize + maskStride * height)) {
        return std::nullopt;
    }
    const std::size_t maskStart = infoSize + colourSize;
    posix::IconPicture picture{false, 0, int(width), int(height), {}};
    picture.Pixels.reserve(std::size_t{width} * height);
    bool anyAlpha = false;
    for (std::size_t row = 0; row < height; ++row) {
        const std::size_t sourceRow = height - 1 - row;
        for (std::size_t column = 0; column < width; ++column) {
            const std::size_t at = infoSize + (sourceRow * width + column) * 4;
            const std::uint32_t pixel = bytes.Dword(at);
            anyAlpha = anyAlpha || (pixel >> 24) != 0;
            picture.Pixels.push_back(pixel);
        }
    }
    if (!anyAlpha) {
        for (std::size_t row = 0; row < height; ++row) {
            for (std::size_t column = 0; column < width; ++column) {
                if (!MaskBitSet(bytes, maskStart, maskStride, height - 1 - row, column)) {
                    picture.Pixels[row * width + column] |= 0xFF000000;
                }
            }
        }
    }
    return picture;
}

std::optional<posix::IconPicture> ReadIconGroup(HMODULE module, HRSRC group) {
    const std::optional<WORD> imageId = ChooseImage(ResourceBytes(module, group));
    if (!imageId) {
        return std::nullopt;
    }
    const HRSRC image = FindResourceA(module, MAKEINTRESOURCEA(*imageId), RT_ICON);
    return image != nullptr ? DecodeImage(ResourceBytes(module, image)) : std::nullopt;
}

posix::IconPicture Resized(const posix::IconPicture& source, int width, int height) {
    posix::IconPicture copy = source;
    copy.Width = width;
    copy.Height = height;
    if (source.Pixels.empty()) {
        return copy;
    }
    copy.Pixels.assign(std::size_t(width) * std::size_t(height), 0);
    for (int y = 0; y < height; ++y) {
        const int sourceY = y * source.Height / height;
        for (int x = 0; x < width; ++x) {
            const int sourceX = x * source.Width / width;
            copy.Pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)] =
                source.Pixels[std::size_t(sourceY) * std::size_t(source.Width) +
                              std::size_t(sourceX)];
        }
    }
    return copy;
}

// ---------------------------------------------------------------------------------------
// 3. Stock pictures
// ---------------------------------------------------------------------------------------

bool IsStockIcon(WORD id) {
    return id >= 32512 && id <= 32518; // IDI_APPLICATION .. IDI_SHIELD
}

bool IsStockCursor(WORD id) {
    return (id >= 32512 && id <= 32516) || (id >= 32640 && id <= 32646) ||
           (id >= 32648 && id <= 32651); // IDC_ARROW .. IDC_HELP
}

// The test driver's reset shows the arrow again.
void ResetCursor() {
    Table().CursorSet = false;
}

HICON Stock(bool cursor, LPCSTR name) {
    const WORD id = IS_INTRESOURCE(name) ? static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name)) : 0;
    if (!(cursor ? IsStockCursor(id) : IsStockIcon(id))) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    HICON& shared = Table().Stock[{cursor, id}];
    if (shared == nullptr) {
        const int size = GetSystemMetrics(cursor ? SM_CXCURSOR : SM_CXICON);
        shared = Add({cursor, id, size, size, {}}, true);
    }
    return shared;
}

} // namespace

namespace posix {

std::optional<IconPicture> PictureOfIcon(HICON icon) {
    const IconRecord* record = Find(icon);
    return record != nullptr ? std::optional(record->Picture) : std::nullopt;
}

} // namespace posix

// ---------------------------------------------------------------------------------------
// 4. The API
// ---------------------------------------------------------------------------------------

// A program icon is read from its group resource once; later loads answer the same handle.
// The program's resources are put in the table on the first load of one.
HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name) {
    if (instance == nullptr) {
        return Stock(false, name);
    }
    posix::RegisterProgramResources();
    const HRSRC group = FindResourceA(instance, name, RT_GROUP_ICON);
    if (group == nullptr) {
        return nullptr;
    }
    HICON& shared = Table().ProgramIcons[group];
    if (shared == nullptr) {
        std::optional<posix::IconPicture> picture = ReadIconGroup(instance, group);
        if (!picture) {
            Table().ProgramIcons.erase(group);
            SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
            return nullptr;
        }
        shared = Add(std::move(*picture), true);
    }
    return shared;
}

// The program has no cursor resources of its own.
HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name) {
    if (instance != nullptr) {
        SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
        return nullptr;
    }
    return Stock(true, name);
}

// The copy is a new handle of its own, which DestroyIcon frees; a width or height of 0 keeps
// the source's.
HANDLE WINAPI CopyImage(HANDLE image, UINT type, int width, int height, UINT /*flags*/) {
    if (type != IMAGE_ICON && type != IMAGE_CURSOR) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (width < 0 || height < 0 || width > 256 || height > 256) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const IconRecord* source = Find(static_cast<HICON>(image));
    if (source == nullptr) {
        return nullptr;
    }
    const posix::IconPicture& picture = source->Picture;
    return Add(
        Resized(picture, width != 0 ? width : picture.Width, height != 0 ? height : picture.Height),
        false);
}

// Shared icons live for the process: destroying one succeeds and leaves it usable.
BOOL WINAPI DestroyIcon(HICON icon) {
    const IconRecord* record = Find(icon);
    if (record == nullptr) {
        return FALSE;
    }
    if (!record->Shared) {
        IconTable& table = Table();
        table.Icons.erase(reinterpret_cast<std::uintptr_t>(icon));
        if (table.Cursor == icon) {
            table.Cursor = nullptr;
        }
    }
    return TRUE;
}

HCURSOR WINAPI GetCursor() {
    IconTable& table = Table();
    if (!table.CursorSet) {
        table.Cursor = LoadCursorA(nullptr, IDC_ARROW);
        table.CursorSet = true;
    }
    return table.Cursor;
}

// A null cursor hides the pointer. An unknown handle changes nothing.
HCURSOR WINAPI SetCursor(HCURSOR cursor) {
    if (cursor != nullptr && Find(cursor) == nullptr) {
        return nullptr;
    }
    const HCURSOR previous = GetCursor();
    Table().Cursor = cursor;
    posix::AddResetHandler(&ResetCursor);
    return previous;
}
