#pragma once

#include <stdexcept>
#include <string>

// Root of every error the engine raises. Each model class or unit derives its own
// class (ENodeClass, EConversionsClass, ...) so that callers can tell them apart,
// while the solve driver can still catch them all in one place.
class EVelmoraError : public std::runtime_error {
public:
    explicit EVelmoraError(const std::string& message) : std::runtime_error(message) {}
};

// Declares an error class with the given name, derived from EVelmoraError.
#define VELMORA_DECLARE_ERROR(Name)                                                  \
    class Name : public EVelmoraError {                                              \
    public:                                                                          \
        explicit Name(const std::string& message) : EVelmoraError(message) {}        \
    }
