# A register station whose name is two 32 MiB words, named again by an update line that spaces
# the words differently; made here rather than committed.
word() { head -c 33554432 /dev/zero | tr '\0' "$1"; }
{ printf '2\n7 '; word a; printf ' '; word b; printf '\n8 Alpha\n\t'; word a; printf ' \t '; word b; printf '\r\n'; } > F.IN
