#pragma once

#include "core/PayloadReader.h"

// Moves the reader to the first byte after the raw data of the image's last
// section header, where the payload begins. Only the last entry of the section
// table counts; the file size is never consulted. Logs the header values it
// reads. Returns false (with the reader's failure set) on a short read.
bool seekPayload(PayloadReader& reader);
