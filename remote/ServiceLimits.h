#pragma once

#include "protocol/ProtocolMessage.h"

#include <QtGlobal>

// What one client may hold of the service. None of it waits on another
// client: a client past a bound is refused or dropped.
struct ServiceLimits {
    int maxClients = 32;        // attached windows and scripts
    int maxGreeting = 16;       // connections that have not said hello yet; the oldest goes first
    int greetingMs = 5000;      // from connecting to hello
    // Each connection may wait this long for its hello before a newer one
    // pushes it out; while all are younger, newcomers are turned away.
    int greetingGraceMs = 500;
    int requestsPerSecond = 20;
    int requestBurst = 40;
    int floodLimit = 200;       // requests refused in a row before the client is dropped
    qint64 maxQueuedBytes = 1 << 20;  // not yet taken by the client; past it the client is dropped
    int maxCommands = 8;        // commands of one client queued and not yet run
    int maxMessageBytes = Protocol::MaxClientMessage;
    int readBufferBytes = 64 * 1024;  // held of one connection before its messages are read
};
