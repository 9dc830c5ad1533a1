#pragma once
// The system's audio output for the wave output device: Qt Multimedia's
// QAudioSink, which reaches the sound server. Kept apart from the platform
// layer so that a program that never plays sound links no audio code.

// Makes TWaveOutDevice::Open play through the system's default output.
void InstallSystemAudioOutput();
