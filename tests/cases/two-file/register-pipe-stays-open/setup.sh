# The register comes through a named pipe whose writer sends the count's stations and then stays
# open: the report needs nothing more from it, so the program must not wait for the writer.
mkfifo bemenet.txt
(printf '2\n1 Alpha\n2 Beta\n'; sleep 20) >bemenet.txt 2>/dev/null </dev/null &
