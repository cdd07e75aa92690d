// Evaluates arbitrary expression texts against arbitrary incoming values.
//
// Input layout: byte 0 picks the incoming value's kind (bits 0-2), the result type (bit 3)
// and the angle mode (bit 4); the kind's payload follows; the rest is the expression.
// The element has five arguments: %1 unbound, %2 an array, %3 a matrix, %4 an element that
// answers calls, %5 an element that sends a Calc back into the evaluator while it reads.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "core/TData.h"
#include "core/TZu_Event.h"
#include "elements/ArrayAccessor.h"
#include "elements/MatrixAccessor.h"
#include "elements/TZuMathParse.h"

namespace {

// Reads the input front to back; past its end every read gives zeros.
class InputReader {
public:
    InputReader(const std::uint8_t* data, std::size_t size) : Data(data), Size(size) {}

    std::uint8_t Byte() { return Position < Size ? Data[Position++] : 0; }

    template <class T> T Bytes() {
        std::uint8_t buffer[sizeof(T)] = {};
        for (std::uint8_t& b : buffer) {
            b = Byte();
        }
        T value;
        std::memcpy(&value, buffer, sizeof(T));
        return value;
    }

    std::string Text(std::size_t length) {
        std::string text;
        while (text.size() < length && Position < Size) {
            text += static_cast<char>(Data[Position++]);
        }
        return text;
    }

    std::string Rest() { return Text(Size - Position); }

private:
    const std::uint8_t* Data;
    std::size_t Size;
    std::size_t Position = 0;
};

class FuzzArray : public ArrayAccessor {
public:
    bool GetItem(const TData& index, TData& item) override {
        const double i = index.RealValue;
        if (!(i >= 0 && i < 8) || i != std::floor(i)) {
            return false;
        }
        item = MakeReal(i * 1.5);
        return true;
    }
};

class FuzzMatrix : public MatrixAccessor {
public:
    TData GetItem(std::int32_t col, std::int32_t row) override {
        if (col < -2 || col > 2 || row < -2 || row > 2) {
            return TData{};
        }
        return MakeString(std::to_string(col * 10 + row));
    }
};

struct Providers {
    FuzzArray Array;
    FuzzMatrix Matrix;
    TZuMathParse* Parse = nullptr;
    int ReentryBudget = 0;

    void GiveArray(TData& value, std::uint16_t) { value = MakeArray(&Array); }
    void GiveMatrix(TData& value, std::uint16_t) { value = MakeMatrix(&Matrix); }
    // Answers a call with a text made from its argument, or with nothing for negatives.
    void Answer(TData& value, std::uint16_t) {
        const double x = value.RealValue;
        value = x < 0 ? TData{} : MakeString(std::to_string(x) + "e1");
    }
    void Reenter(TData& value, std::uint16_t) {
        if (ReentryBudget > 0) {
            --ReentryBudget;
            TData inner = MakeInteger(ReentryBudget);
            Parse->Calc(inner, 0);
        }
        value = MakeInteger(3);
    }
};

TData IncomingValue(InputReader& input, std::uint8_t kind, Providers& providers) {
    switch (kind) {
    case 1:
        return MakeInteger(input.Bytes<std::int32_t>());
    case 2:
        return MakeString(input.Text(input.Byte()));
    case 3:
        return MakeReal(input.Bytes<double>());
    case 4:
        return MakeArray(&providers.Array);
    case 5:
        return MakeMatrix(&providers.Matrix);
    case 6: {
        TData odd;
        odd.Tag = input.Byte();
        odd.IntValue = input.Bytes<std::int32_t>();
        odd.RealValue = input.Bytes<double>();
        return odd;
    }
    default:
        return TData{};
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    DispatchOn();
    InputReader input(data, size);
    const std::uint8_t settings = input.Byte();

    TZuMathParse parse;
    Providers providers;
    providers.Parse = &parse;
    providers.ReentryBudget = 8;
    parse.SetArgCount(5);
    parse.Args[1] = MakeEvent<&Providers::GiveArray>(&providers, 0);
    parse.Args[2] = MakeEvent<&Providers::GiveMatrix>(&providers, 0);
    parse.Args[3] = MakeEvent<&Providers::Answer>(&providers, 0);
    parse.Args[4] = MakeEvent<&Providers::Reenter>(&providers, 0);
    parse.SetResultType((settings >> 3) & 1);
    parse.SetAngleMode(((settings >> 4) & 1) != 0);

    TData incoming = IncomingValue(input, settings & 7, providers);
    parse.SetExpression(input.Rest());
    parse.Calc(incoming, 0);
    parse.Calc(incoming, 0);
    return 0;
}
