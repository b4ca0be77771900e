# A census text that links to itself and an update list that is a socket: both are there but
# cannot be opened, and each is read as empty, with a warning.
ln -s be.txt be.txt && perl -MIO::Socket::UNIX -e 'IO::Socket::UNIX->new(Local => "frissites.txt") or die "$!\n"'
