# Copies the generated help files (collection and compressed help) from WORK to DEST.
file(GLOB files ${WORK}/*.qhc ${WORK}/*.qch)
file(COPY ${files} DESTINATION ${DEST})
