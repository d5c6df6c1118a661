#pragma once

// Makes Python's object and memory allocators refuse any single block above a cap, so that
// fuzzed code growing a value by doubling gets a MemoryError instead of the machine's memory.
class AllocationCap
{
public:
    // Wraps the allocators in place; the caller holds the interpreter lock. Once per process.
    static void install();
};
