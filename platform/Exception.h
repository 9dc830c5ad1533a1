#pragma once
// The common base of every error the program reports to the user, and the
// file-layer errors. what() is the UTF-8 message shown in the error box.
#include <stdexcept>
#include <string>

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string &Message) : std::runtime_error(Message) {}
};

class EStreamError : public Exception {
public:
    using Exception::Exception;
};

class EReadError : public EStreamError {
public:
    EReadError() : EStreamError("ストリームからの読み込みエラー") {}
};

class EWriteError : public EStreamError {
public:
    EWriteError() : EStreamError("ストリームへの書き込みエラー") {}
};

class EFOpenError : public EStreamError {
public:
    explicit EFOpenError(const std::string &FileName)
        : EStreamError("ファイル " + FileName + " は開けません") {}
};

class EFCreateError : public EStreamError {
public:
    explicit EFCreateError(const std::string &FileName)
        : EStreamError("ファイル " + FileName + " を作成できません") {}
};

// A heap block could not be had; raised instead of handing out a null block.
class EOutOfMemory : public Exception {
public:
    EOutOfMemory() : Exception("メモリが不足しています") {}
};
