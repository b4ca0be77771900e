# A census text that never ends, one endless word, read under a limit of the address space.
ln -s /dev/zero be.txt
