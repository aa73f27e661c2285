#pragma once

namespace drillpad {

// A platform seam: one interface with a real implementation that the program
// uses, and a replacement that a test installs for its own lifetime.
//
// Each seam's .cpp file defines Seam<Interface>::real().
template <typename Interface> class Seam {
public:
    static Interface &get() { return override_ ? *override_ : real(); }
    static Interface *replace(Interface *replacement) {
        Interface *previous = override_;
        override_ = replacement;
        return previous;
    }

private:
    static Interface &real();
    static inline Interface *override_ = nullptr;
};

// Installs a replacement for the lifetime of the scope.
template <typename Interface> class ScopedSeam {
public:
    explicit ScopedSeam(Interface &replacement)
        : previous_(Seam<Interface>::replace(&replacement)) {}
    ~ScopedSeam() { Seam<Interface>::replace(previous_); }
    ScopedSeam(const ScopedSeam &) = delete;
    ScopedSeam &operator=(const ScopedSeam &) = delete;

private:
    Interface *previous_;
};

} // namespace drillpad
