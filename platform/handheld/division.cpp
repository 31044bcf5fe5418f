// The integer division helpers that clang calls on ARMv4, which has no divide
// instruction: for a quotient those of the APCS runtime, for a remainder
// those of the ARM EABI's, which return the quotient in r0 and the remainder
// in r1, as a 64-bit value is returned. Shift and subtract, 32 steps at most.
// A zero divisor gives a zero quotient and leaves the remainder the dividend;
// nothing in the product divides by a variable that may be zero.
__extension__ typedef unsigned long long QuotientAndRemainder;

extern "C" {

unsigned int __udivsi3(unsigned int dividend, unsigned int divisor);
unsigned int __umodsi3(unsigned int dividend, unsigned int divisor);
int __divsi3(int dividend, int divisor);
int __modsi3(int dividend, int divisor);
QuotientAndRemainder __aeabi_uidivmod(unsigned int dividend, unsigned int divisor);
QuotientAndRemainder __aeabi_idivmod(int dividend, int divisor);

}  // extern "C"

namespace {

unsigned int DivideUnsigned(unsigned int dividend, unsigned int divisor, unsigned int* remainder)
{
    unsigned int quotient = 0;
    unsigned int rest = 0;
    if (divisor) {
        for (int bit = 31; bit >= 0; --bit) {
            // A divisor above 2^31 can leave a rest that the shift carries out.
            const unsigned int carried = rest >> 31;
            rest = (rest << 1) | ((dividend >> bit) & 1);
            if (carried || rest >= divisor) {
                rest -= divisor;
                quotient |= 1u << bit;
            }
        }
    } else {
        rest = dividend;
    }
    *remainder = rest;
    return quotient;
}

QuotientAndRemainder Pair(unsigned int quotient, unsigned int remainder)
{
    return quotient | static_cast<QuotientAndRemainder>(remainder) << 32;
}

unsigned int Magnitude(int value)
{
    return value < 0 ? 0u - static_cast<unsigned int>(value) : static_cast<unsigned int>(value);
}

}  // namespace

unsigned int __udivsi3(unsigned int dividend, unsigned int divisor)
{
    unsigned int remainder;
    return DivideUnsigned(dividend, divisor, &remainder);
}

unsigned int __umodsi3(unsigned int dividend, unsigned int divisor)
{
    unsigned int remainder;
    DivideUnsigned(dividend, divisor, &remainder);
    return remainder;
}

// Truncating toward zero, as C++ divides: the remainder takes the dividend's sign.
int __divsi3(int dividend, int divisor)
{
    unsigned int remainder;
    unsigned int quotient = DivideUnsigned(Magnitude(dividend), Magnitude(divisor), &remainder);
    return static_cast<int>((dividend < 0) != (divisor < 0) ? 0u - quotient : quotient);
}

int __modsi3(int dividend, int divisor)
{
    unsigned int remainder;
    DivideUnsigned(Magnitude(dividend), Magnitude(divisor), &remainder);
    return static_cast<int>(dividend < 0 ? 0u - remainder : remainder);
}

QuotientAndRemainder __aeabi_uidivmod(unsigned int dividend, unsigned int divisor)
{
    unsigned int remainder;
    unsigned int quotient = DivideUnsigned(dividend, divisor, &remainder);
    return Pair(quotient, remainder);
}

QuotientAndRemainder __aeabi_idivmod(int dividend, int divisor)
{
    return Pair(static_cast<unsigned int>(__divsi3(dividend, divisor)),
                static_cast<unsigned int>(__modsi3(dividend, divisor)));
}
