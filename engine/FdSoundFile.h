#pragma once
// libsndfile over a file descriptor the caller keeps. Every read and write
// goes through pread/pwrite at an offset of this object's own, so the
// descriptor's offset is untouched, libsndfile never closes it, and any
// seekable descriptor works, not only one libsndfile opened by name.
#include <sndfile.h>

// Where libsndfile stands in the descriptor; its callbacks' user data.
struct TFdIo {
    int Handle = -1;
    bool Writing = false;
    sf_count_t Offset = 0;
    sf_count_t End = 0; // one past the last byte written
    int Errno = 0;      // of the first read or write that failed
};

class TFdSoundFile {
public:
    // Mode is SFM_READ or SFM_WRITE; Info is filled or read as
    // sf_open_virtual does. File() is null when libsndfile refused.
    TFdSoundFile(int Handle, int Mode, SF_INFO &Info);
    ~TFdSoundFile();
    TFdSoundFile(const TFdSoundFile &) = delete;
    TFdSoundFile &operator=(const TFdSoundFile &) = delete;

    SNDFILE *File() const { return FFile; }
    // sf_close's result. A writer's last frames and header go out here.
    int Close();
    // The errno of the first read or write that failed, 0 while none has:
    // libsndfile's own error codes lose it.
    int Errno() const { return FIo.Errno; }
    sf_count_t End() const { return FIo.End; }

private:
    TFdIo FIo;
    SNDFILE *FFile = nullptr;
};
