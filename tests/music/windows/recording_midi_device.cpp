// A MIDI output device that sounds nothing and records every short message
// it is sent, for the tests of the Windows MIDI stream. Built as a driver
// named midimap.dll and put beside the test, it takes the place of the MIDI
// mapper where the system lets a program's own DLL do that (Wine, with
// WINEDLLOVERRIDES=midimap=n), so the system's own stream code plays into it.

#include <windows.h>

#include <mmsystem.h>

#include <mmddk.h>

#include <mutex>
#include <vector>

extern "C" BOOL WINAPI DriverCallback(DWORD_PTR callback, DWORD flags, HDRVR device, DWORD message, DWORD_PTR user,
                                      DWORD_PTR first, DWORD_PTR second);

namespace {

std::mutex mutex;
std::vector<DWORD> recorded;
MIDIOPENDESC client{};
DWORD_PTR clientFlags = 0;

void tellClient(DWORD message)
{
    DriverCallback(client.dwCallback, HIWORD(clientFlags), reinterpret_cast<HDRVR>(client.hMidi), message,
                   client.dwInstance, 0, 0);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT WINAPI DriverProc(DWORD_PTR, HDRVR, UINT message, LPARAM, LPARAM)
{
    switch (message) {
    case DRV_LOAD:
    case DRV_FREE:
    case DRV_OPEN:
    case DRV_CLOSE:
    case DRV_ENABLE:
    case DRV_DISABLE: return 1;
    default: return 0;
    }
}

extern "C" __declspec(dllexport) DWORD WINAPI
    modMessage(UINT, UINT message, DWORD_PTR, DWORD_PTR first, DWORD_PTR second)
{
    switch (message) {
    case DRVM_INIT:
    case DRVM_EXIT: return MMSYSERR_NOERROR;
    case MODM_GETNUMDEVS: return 1;
    case MODM_GETDEVCAPS: {
        MIDIOUTCAPSW caps{};
        caps.wTechnology = MOD_SWSYNTH;
        caps.wVoices = 16;
        caps.wNotes = 16;
        caps.wChannelMask = 0xFFFF;
        lstrcpynW(caps.szPname, L"Recording MIDI device", MAXPNAMELEN);
        CopyMemory(reinterpret_cast<void*>(first), &caps, std::min<DWORD_PTR>(second, sizeof caps));
        return MMSYSERR_NOERROR;
    }
    case MODM_OPEN:
        client = *reinterpret_cast<const MIDIOPENDESC*>(first);
        clientFlags = second;
        tellClient(MOM_OPEN);
        return MMSYSERR_NOERROR;
    case MODM_CLOSE: tellClient(MOM_CLOSE); return MMSYSERR_NOERROR;
    case MODM_DATA: {
        std::lock_guard lock(mutex);
        recorded.push_back(static_cast<DWORD>(first));
        return MMSYSERR_NOERROR;
    }
    case MODM_PREPARE: reinterpret_cast<MIDIHDR*>(first)->dwFlags |= MHDR_PREPARED; return MMSYSERR_NOERROR;
    case MODM_UNPREPARE: reinterpret_cast<MIDIHDR*>(first)->dwFlags &= ~MHDR_PREPARED; return MMSYSERR_NOERROR;
    case MODM_RESET: return MMSYSERR_NOERROR;
    default: return MMSYSERR_NOTSUPPORTED;
    }
}

// Copies up to capacity of the messages recorded so far, oldest first, into
// messages; returns how many there are in all.
extern "C" __declspec(dllexport) int recordedMidiMessages(DWORD* messages, int capacity)
{
    std::lock_guard lock(mutex);
    for (int i = 0; i < capacity && i < static_cast<int>(recorded.size()); ++i)
        messages[i] = recorded[i];
    return static_cast<int>(recorded.size());
}
