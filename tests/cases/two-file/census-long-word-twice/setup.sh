# A census text of one word of a block (1 MiB) given twice: the first is kept in the block it was
# read into, which shrinks and may move, and the second must find it there.
word() { head -c 1048576 /dev/zero | tr '\0' W; }
{ word; printf ' '; word; printf '\n'; } >be.txt
