// queue.cpp - the click and key queues: singly linked heap records, oldest first.
#include "../graphics.h"

template <typename Record>
RecordQueue<Record>::~RecordQueue()
{
    tail = nullptr;
    while (head) {
        Record *next = head->next;
        delete head;
        head = next;
    }
}

template <typename Record>
void RecordQueue<Record>::Enqueue(Record *record)
{
    if (!record)
        return;
    record->next = nullptr;
    // Emptiness is judged by head alone: tail may still name a record already taken.
    if (!head)
        head = record;
    else
        tail->next = record;
    tail = record;
}

template <typename Record>
Record *RecordQueue<Record>::Dequeue()
{
    if (!head)
        return nullptr;
    Record *record = head;
    head = record->next;
    record->next = nullptr;
    return record;
}

template class RecordQueue<ClickRecord>;
template class RecordQueue<KeyRecord>;
