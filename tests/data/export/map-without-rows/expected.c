
const unsigned short Default[] = {

};
